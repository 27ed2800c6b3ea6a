// The POSIX clock, executable directory, port-name mapping, the survey of serial devices, and
// files: creation modes, refusal of a second opener, honest write counts.
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "common/posix/ports_report.h"
#include "gtest/gtest.h"
#include "platform/clock.h"
#include "platform/file.h"
#include "platform/paths.h"
#include "platform/port_device.h"
#include "platform/posix/port_names.h"
#include "platform/posix/port_survey.h"
#include "tests/support/posix/child_process.h"
#include "tests/support/temp_dir.h"

namespace {

TEST(PlatformClock, TickFollowsRealTimeAndSleepLastsItsLength) {
    auto clock = platform::make_system_clock();
    auto wall_start = std::chrono::steady_clock::now();
    std::uint32_t start = clock->tick_ms();
    clock->sleep_ms(120);
    std::uint32_t ticked = platform::elapsed_since(*clock, start);
    auto wall = std::chrono::duration_cast<std::chrono::milliseconds>(
                    std::chrono::steady_clock::now() - wall_start)
                    .count();
    EXPECT_GE(wall, 120);
    EXPECT_GE(ticked, 119u);  // the two clocks may split a millisecond differently
    EXPECT_LE(ticked, static_cast<std::uint32_t>(wall) + 1);
}

TEST(PlatformClock, LocalTimeIsTodaysCalendarDate) {
    auto clock = platform::make_system_clock();
    platform::LocalTime now = clock->local_time();
    time_t t = ::time(nullptr);
    tm parts{};
    ::localtime_r(&t, &parts);
    EXPECT_EQ(now.year, parts.tm_year + 1900);
    EXPECT_EQ(now.month, parts.tm_mon + 1);
    EXPECT_EQ(now.day, parts.tm_mday);
    EXPECT_GE(now.hour, 0);
    EXPECT_LE(now.hour, 23);
    EXPECT_LE(now.second, 60);
}

TEST(PlatformPaths, ExecutableDirectoryHoldsThisTestProgram) {
    std::string directory = platform::executable_directory();
    ASSERT_FALSE(directory.empty());
    EXPECT_EQ(directory.front(), '/');
    EXPECT_EQ(directory.back(), '/');
    EXPECT_EQ(platform::join_path(directory, "Ravelo.ini"), directory + "Ravelo.ini");
    EXPECT_EQ(platform::join_path("/opt/velmora", "Ravelo.ini"), "/opt/velmora/Ravelo.ini");
}

TEST(PlatformPortNames, PortsMapToTheEnvironmentOrTheSerialDevices) {
    ::setenv("VELMORA_COM2", "/dev/pts/7", 1);
    ::unsetenv("VELMORA_COM1");
    ::unsetenv("VELMORA_COM10");
    const std::pair<const char*, const char*> cases[] = {
        {"COM1", "/dev/ttyS0"},  {"COM2", "/dev/pts/7"}, {"COM9", "/dev/ttyS8"},
        {"COM10", "/dev/ttyS9"}, {"com3", "/dev/ttyS2"},
    };
    for (const auto& [name, device] : cases) {
        EXPECT_EQ(platform::device_for_port(platform::com_port_number(name)), device) << name;
    }
    for (const char* name : {"COM0", "COM01", "COM-1", "COM1 ", "COM", "PRN", "COM99999"}) {
        EXPECT_EQ(platform::device_for_port(platform::com_port_number(name)), "") << name;
    }
    ::unsetenv("VELMORA_COM2");
}

// A machine with a mainboard port, an unused 8250 slot, a port of a driver without a UART type,
// a USB adapter with its stable name (COM2 opens it through that name) and a modem-class one.
TEST(PlatformPortNames, SurveyFindsTheSerialDevicesAndWhatEachPortOpens) {
    namespace fs = std::filesystem;
    testing_support::TempDir temp;
    const std::string root = temp.file("root");
    for (const char* node : {"ttyS0", "ttyS1", "ttyS10", "ttyUSB0", "ttyACM0", "ttyUSBx", "tty0"}) {
        fs::create_directories(root + "/dev");
        testing_support::write_bytes(root + "/dev/" + node, "");
    }
    const std::pair<const char*, const char*> types[] = {{"ttyS0", "4\n"}, {"ttyS1", "0\n"}};
    for (const auto& [node, type] : types) {
        fs::create_directories(root + "/sys/class/tty/" + node);
        testing_support::write_bytes(root + "/sys/class/tty/" + node + "/type", type);
    }
    fs::create_directories(root + "/sys/class/tty/ttyS10/device");
    const std::string by_id = root + "/dev/serial/by-id/usb-FTDI_FT232R_A1B2-if00-port0";
    fs::create_directories(root + "/dev/serial/by-id");
    fs::create_symlink("../../ttyUSB0", by_id);
    ::setenv("VELMORA_COM2", by_id.c_str(), 1);
    ::setenv("VELMORA_COM3", "/nonexistent/tty", 1);
    ::unsetenv("VELMORA_COM1");

    platform::PortSurvey survey = platform::survey_ports({root + "/dev", root + "/sys"}, 3);
    ::unsetenv("VELMORA_COM2");
    ::unsetenv("VELMORA_COM3");
    survey.ports.push_back({"COM4", "/dev/ttyS3", false, {true, false, "dialout", false}});
    std::string report = common::ports_report(survey);
    for (auto at = report.find(root); at != std::string::npos; at = report.find(root)) {
        report.erase(at, root.size());
    }
    EXPECT_EQ(
        report,
        "COM porty (COMn otevře zařízení z proměnné VELMORA_COMn, jinak /dev/ttyS<n-1>):\n"
        "  COM1 = /dev/ttyS0: lze otevřít\n"
        "  COM2 = /dev/serial/by-id/usb-FTDI_FT232R_A1B2-if00-port0 (VELMORA_COM2): lze "
        "otevřít\n"
        "  COM3 = /nonexistent/tty (VELMORA_COM3): neexistuje\n"
        "  COM4 = /dev/ttyS3: nelze otevřít, nejste ve skupině dialout\n"
        "Porty smějí používat členové skupiny dialout: sudo usermod -aG dialout $USER, pak "
        "se odhlaste a znovu přihlaste.\n"
        "\n"
        "Sériová zařízení v počítači a řádek ke zkopírování:\n"
        "  /dev/ttyS0 (COM1)    VELMORA_COM1=/dev/ttyS0\n"
        "  /dev/ttyS10          VELMORA_COM1=/dev/ttyS10\n"
        "  /dev/ttyUSB0 (COM2)  VELMORA_COM2=/dev/serial/by-id/usb-FTDI_FT232R_A1B2-if00-port0\n"
        "  /dev/ttyACM0         VELMORA_COM1=/dev/ttyACM0\n");
}

using platform::Creation;
using platform::File;
using platform::FileError;

class PlatformFile : public ::testing::Test {
  protected:
    void put(const std::string& content) {
        FileError error;
        File file = File::open(path_, Creation::create_always, &error);
        ASSERT_EQ(error, FileError::none);
        ASSERT_EQ(file.write(content), content.size());
    }
    std::string content() {
        std::string text;
        EXPECT_TRUE(platform::read_whole_file(path_, &text));
        return text;
    }
    // What a second process gets when it opens the file in the given mode.
    FileError error_in_child(Creation creation, File::Access access = File::Access::read_write) {
        return static_cast<FileError>(
            testing_support::child_status(testing_support::start_child([&] {
                FileError error = FileError::other;
                File file = File::open(path_, creation, &error, access);
                return static_cast<int>(error);
            })));
    }

    testing_support::TempDir temp;
    std::string dir_ = temp.path().string();
    std::string path_ = temp.file("DATA.TXT");
};

TEST_F(PlatformFile, CreationModesOnMissingAndExistingFiles) {
    struct Case {
        Creation creation;
        bool exists_before;
        FileError error;
        const char* content_after;  // after writing "new" where the open succeeded; null: no file
    };
    const Case cases[] = {
        {Creation::create_always, false, FileError::none, "new"},
        {Creation::create_always, true, FileError::none, "new"},
        {Creation::create_new, false, FileError::none, "new"},
        {Creation::create_new, true, FileError::exists, "old contents"},
        {Creation::open_existing, false, FileError::not_found, nullptr},
        {Creation::open_existing, true, FileError::none, "new contents"},
        {Creation::open_always, false, FileError::none, "new"},
        {Creation::open_always, true, FileError::none, "new contents"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(static_cast<int>(c.creation)) +
                     (c.exists_before ? ", existing" : ", missing"));
        ::unlink(path_.c_str());
        if (c.exists_before) put("old contents");
        FileError error = FileError::other;
        {
            File file = File::open(path_, c.creation, &error);
            EXPECT_EQ(error, c.error);
            EXPECT_EQ(file.is_open(), c.error == FileError::none);
            if (file.is_open()) {
                EXPECT_EQ(file.write("new"), 3u);
            }
        }
        if (c.content_after) {
            EXPECT_EQ(content(), c.content_after);
        } else {
            EXPECT_FALSE(platform::file_exists(path_));
        }
    }
}

TEST_F(PlatformFile, OpenAlwaysAppendsAfterSeekToEnd) {
    put("line 1\r\n");
    FileError error;
    File file = File::open(path_, Creation::open_always, &error);
    ASSERT_TRUE(file.is_open());
    EXPECT_EQ(file.size(), 8u);
    ASSERT_TRUE(file.seek_to_end());
    EXPECT_EQ(file.write("line 2\r\n"), 8u);
    EXPECT_EQ(file.size(), 16u);
    ASSERT_TRUE(file.seek_to_start());
    std::uint8_t buffer[32] = {};
    EXPECT_EQ(file.read(buffer, sizeof buffer), 16u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 16), "line 1\r\nline 2\r\n");
}

TEST_F(PlatformFile, SecondOpenerIsRefusedAndCannotTruncate) {
    put("kept");
    FileError error;
    File held = File::open(path_, Creation::open_existing, &error);
    ASSERT_TRUE(held.is_open());
    EXPECT_EQ(error_in_child(Creation::open_existing), FileError::access_denied);
    EXPECT_EQ(error_in_child(Creation::create_always), FileError::access_denied);
    EXPECT_EQ(held.size(), 4u);
    File again = File::open(path_, Creation::open_always, &error);
    EXPECT_FALSE(again.is_open());
    EXPECT_EQ(error, FileError::access_denied);

    held.close();
    EXPECT_EQ(error_in_child(Creation::open_existing), FileError::none);

    // Readers share the file with each other, not with a writer.
    File reading = File::open(path_, Creation::open_existing, &error, File::Access::read_only);
    ASSERT_TRUE(reading.is_open());
    EXPECT_EQ(error_in_child(Creation::open_existing, File::Access::read_only), FileError::none);
    EXPECT_EQ(error_in_child(Creation::open_existing), FileError::access_denied);
}

TEST_F(PlatformFile, MovedFileKeepsTheOnlyHandle) {
    FileError error;
    File first = File::open(path_, Creation::create_always, &error);
    File second = std::move(first);
    EXPECT_FALSE(first.is_open());
    EXPECT_EQ(second.write("x"), 1u);
    second = File();
    EXPECT_EQ(error_in_child(Creation::open_existing), FileError::none);
}

TEST_F(PlatformFile, FullDiskReportsTheShortCount) {
    FileError error;
    File full = File::open("/dev/full", Creation::open_existing, &error);
    ASSERT_TRUE(full.is_open());
    EXPECT_LT(full.write("record\r\n"), 8u);
}

TEST_F(PlatformFile, ReadOnlyFileTakesNoWrites) {
    put("abc");
    FileError error;
    File file = File::open(path_, Creation::open_existing, &error, File::Access::read_only);
    ASSERT_TRUE(file.is_open());
    EXPECT_EQ(file.write("zz"), 0u);
    file.close();
    EXPECT_EQ(content(), "abc");
}

TEST_F(PlatformFile, DirectoryIsNotAFile) {
    FileError error = FileError::none;
    File file = File::open(dir_, Creation::open_existing, &error, File::Access::read_only);
    EXPECT_FALSE(file.is_open());
    EXPECT_EQ(error, FileError::access_denied);
}

TEST_F(PlatformFile, WholeFileIsReadByteForByte) {
    std::string bytes;
    for (int i = 0; i < 10000; ++i) bytes.push_back(static_cast<char>(i * 7));
    put(bytes);
    EXPECT_EQ(content(), bytes);
    std::string untouched = "before";
    EXPECT_FALSE(platform::read_whole_file(dir_ + "/missing.ini", &untouched));
}

TEST_F(PlatformFile, RemoveFile) {
    put("x");
    EXPECT_TRUE(platform::file_exists(path_));
    EXPECT_TRUE(platform::remove_file(path_));
    EXPECT_FALSE(platform::file_exists(path_));
    EXPECT_FALSE(platform::remove_file(path_));
}

}  // namespace

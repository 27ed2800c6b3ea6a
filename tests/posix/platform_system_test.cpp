// The POSIX clock, executable directory, port-name mapping and the survey of serial devices.
#include <time.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "common/posix/ports_report.h"
#include "gtest/gtest.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "platform/port_device.h"
#include "platform/posix/port_names.h"
#include "platform/posix/port_survey.h"
#include "tests/core/reader_test_fixture.h"

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
    reader_test::TempDir temp;
    const std::string root = temp.file("root");
    for (const char* node : {"ttyS0", "ttyS1", "ttyS10", "ttyUSB0", "ttyACM0", "ttyUSBx", "tty0"}) {
        fs::create_directories(root + "/dev");
        reader_test::write_bytes(root + "/dev/" + node, "");
    }
    const std::pair<const char*, const char*> types[] = {{"ttyS0", "4\n"}, {"ttyS1", "0\n"}};
    for (const auto& [node, type] : types) {
        fs::create_directories(root + "/sys/class/tty/" + node);
        reader_test::write_bytes(root + "/sys/class/tty/" + node + "/type", type);
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

}  // namespace

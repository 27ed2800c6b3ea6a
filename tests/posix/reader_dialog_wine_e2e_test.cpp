// Ravelo.exe under Wine with always_ask: its properties dialog confirmed from outside, the
// settings file rewritten before the transfer. Needs VELMORA_WINDOWS_BIN and scripts/wine-env.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "tests/core/reader_test_fixture.h"
#include "tests/support/posix/child_process.h"

namespace {

using namespace std::chrono_literals;
using reader_test::read_bytes;
using reader_test::write_bytes;
using testing_support::BackgroundProcess;
using testing_support::ProcessResult;

const std::string kBin = VELMORA_BIN_DIR;
const std::string kWineRun = std::string(VELMORA_SOURCE_DIR) + "/scripts/wine-run";

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The temporary folder as Wine's Z: drive sees it, with its trailing backslash.
std::string wine_path(std::string unix_path) {
    for (char& c : unix_path) {
        if (c == '/') c = '\\';
    }
    return "Z:" + unix_path;
}

TEST(RaveloDialogWineE2e, OkSavesTheSettingsThenTransfers) {
    const std::string windows_bin = environment("VELMORA_WINDOWS_BIN");
    const std::string ports = environment("VELMORA_WINE_PORTS");
    if (windows_bin.empty() || ports.empty()) {
        GTEST_SKIP() << "needs VELMORA_WINDOWS_BIN and scripts/wine-env (scripts/test-all)";
    }
    reader_test::TempDir temp;
    std::filesystem::copy_file(windows_bin + "/Ravelo.exe", temp.file("Ravelo.exe"));
    // Two lines only: every other setting keeps its default, always_ask among them.
    const std::string directory = wine_path(temp.directory());
    write_bytes(temp.file("Ravelo.ini"), directory + "\r\nDATA.TXT");

    BackgroundProcess terminal({kBin + "/velmora-sim", "source", "--link", ports + "/ttyCOM1",
                                "--generate", "5", "--size", "20"});
    ASSERT_FALSE(terminal.read_line(5s).empty()) << "velmora-sim did not start";
    BackgroundProcess program({kWineRun, temp.file("Ravelo.exe")});
    auto answer = [&](const std::string& caption, const std::string& button) {
        return testing_support::run_process(
            {kWineRun, windows_bin + "/box-answer.exe", caption, button, "30"}, {}, 40s);
    };
    EXPECT_EQ(answer("Čtení dat přes RS-232 (Ver 4.10)", "ok").exit_status, 0)
        << "the properties dialog did not appear";
    const ProcessResult result = answer("Příjem dat", "no");
    EXPECT_EQ(result.out, "Hotovo : 5 záznamů přijato.\nZobrazit přijatá data?");
    EXPECT_EQ(program.wait(30s), 1);

    EXPECT_EQ(read_bytes(temp.file("Ravelo.ini")),
              directory + "\r\nDATA.TXT\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n0\r\n2");
    EXPECT_EQ(read_bytes(temp.file("DATA.TXT")).size(), 5u * 22);
}

TEST(RaveloDialogWineE2e, StornoEndsTheRunWithoutSavingOrTransferring) {
    const std::string windows_bin = environment("VELMORA_WINDOWS_BIN");
    const std::string ports = environment("VELMORA_WINE_PORTS");
    if (windows_bin.empty() || ports.empty()) {
        GTEST_SKIP() << "needs VELMORA_WINDOWS_BIN and scripts/wine-env (scripts/test-all)";
    }
    reader_test::TempDir temp;
    std::filesystem::copy_file(windows_bin + "/Ravelo.exe", temp.file("Ravelo.exe"));
    const std::string settings = wine_path(temp.directory()) + "\r\nDATA.TXT";
    write_bytes(temp.file("Ravelo.ini"), settings);
    BackgroundProcess terminal({kBin + "/velmora-sim", "source", "--link", ports + "/ttyCOM1"});
    ASSERT_FALSE(terminal.read_line(5s).empty()) << "velmora-sim did not start";
    BackgroundProcess program({kWineRun, temp.file("Ravelo.exe")});
    const ProcessResult box =
        testing_support::run_process({kWineRun, windows_bin + "/box-answer.exe",
                                      "Čtení dat přes RS-232 (Ver 4.10)", "cancel", "30"},
                                     {}, 40s);
    EXPECT_EQ(box.exit_status, 0) << "the properties dialog did not appear";
    EXPECT_EQ(program.wait(30s), 1);
    EXPECT_EQ(read_bytes(temp.file("Ravelo.ini")), settings);
    EXPECT_FALSE(std::filesystem::exists(temp.file("DATA.TXT")));
}

// Online with automatic names: each poll's batch lands in a file of its own until the window
// is closed.
TEST(RaveloDialogWineE2e, OnlinePollingWritesEachBatchToItsOwnFile) {
    const std::string windows_bin = environment("VELMORA_WINDOWS_BIN");
    const std::string ports = environment("VELMORA_WINE_PORTS");
    if (windows_bin.empty() || ports.empty()) {
        GTEST_SKIP() << "needs VELMORA_WINDOWS_BIN and scripts/wine-env (scripts/test-all)";
    }
    reader_test::TempDir temp;
    std::filesystem::copy_file(windows_bin + "/Ravelo.exe", temp.file("Ravelo.exe"));
    std::filesystem::create_directory(temp.file("in"));
    BackgroundProcess terminal({kBin + "/velmora-sim", "source", "--link", ports + "/ttyCOM1",
                                "--generate", "4", "--size", "16"});
    ASSERT_FALSE(terminal.read_line(5s).empty()) << "velmora-sim did not start";
    // Online, automatic names, polled every second, no dialog.
    BackgroundProcess program({kWineRun, temp.file("Ravelo.exe"), ",1,1,1,1,1,1,0,0,1,1"});

    const auto count_files = [&] {
        int n = 0;
        for (const auto& entry : std::filesystem::directory_iterator(temp.file(""))) {
            const std::string name = entry.path().filename().string();
            if (name.size() == 12 && name.substr(8) == ".TXT") ++n;
        }
        return n;
    };
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (count_files() < 3 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(100ms);
    }
    const ProcessResult box = testing_support::run_process(
        {kWineRun, windows_bin + "/box-answer.exe", "Připraveno pro příjem dat", "cancel", "10"},
        {}, 20s);
    EXPECT_EQ(box.exit_status, 0) << "the polling window was not found";
    EXPECT_EQ(program.wait(30s), 1);
    ASSERT_GE(count_files(), 3);
    for (const auto& entry : std::filesystem::directory_iterator(temp.file(""))) {
        const std::string name = entry.path().filename().string();
        if (name.size() == 12 && name.substr(8) == ".TXT") {
            EXPECT_EQ(std::filesystem::file_size(entry.path()), 4u * 18) << name;
        }
    }
}

}  // namespace

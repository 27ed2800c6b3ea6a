// Ravelo.exe under Wine with always_ask: its properties dialog confirmed from outside, the
// settings file rewritten before the transfer. Needs VELMORA_WINDOWS_BIN and scripts/wine-env.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

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

}  // namespace

// Ravelo.exe under Wine, COM1 linked to velmora-sim's pseudo-terminal, its boxes answered from
// outside. Needs the Windows build and Wine's set-up: VELMORA_WINDOWS_BIN and the exports of
// scripts/wine-env (scripts/test-all provides both).
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

class RaveloWineE2e : public ::testing::Test {
  protected:
    void SetUp() override {
        windows_bin = environment("VELMORA_WINDOWS_BIN");
        ports = environment("VELMORA_WINE_PORTS");
        if (windows_bin.empty() || ports.empty()) {
            GTEST_SKIP() << "needs VELMORA_WINDOWS_BIN and scripts/wine-env (scripts/test-all)";
        }
        std::filesystem::copy_file(windows_bin + "/Ravelo.exe", temp.file("Ravelo.exe"));
    }

    void start_terminal(std::vector<std::string> args) {
        args.insert(args.begin(), {kBin + "/velmora-sim", "source", "--link", ports + "/ttyCOM1"});
        terminal = std::make_unique<BackgroundProcess>(args);
        ASSERT_FALSE(terminal->read_line(5s).empty()) << "velmora-sim did not start";
    }

    std::vector<std::string> ravelo(const std::string& tail) const {
        return {kWineRun, temp.file("Ravelo.exe"), tail};
    }

    // Presses `button` in the box captioned `caption`; returns the box's text.
    ProcessResult answer_box(const std::string& caption, const std::string& button) const {
        return testing_support::run_process(
            {kWineRun, windows_bin + "/box-answer.exe", caption, button, "30"}, {}, 40s);
    }

    std::string windows_bin;
    std::string ports;
    reader_test::TempDir temp;
    std::unique_ptr<BackgroundProcess> terminal;
};

TEST_F(RaveloWineE2e, CommandLineModeWritesTheBatchByteExact) {
    std::string records;
    for (int i = 0; i < 30; ++i) {
        std::string line = "Záznam " + std::to_string(i) + " ";
        for (int b = 1; b < 256; b += 5 + i) {
            if (b != 0x0D && b != 0x0A) line += static_cast<char>(b);
        }
        records += line + "\r\n";
    }
    write_bytes(temp.file("records.bin"), records);
    start_terminal({"--records", temp.file("records.bin")});
    const ProcessResult result =
        testing_support::run_process(ravelo("DATA.TXT,1,1,1,1,1,1,0,0,0,2"), {}, 60s);
    EXPECT_EQ(result.exit_status, 1) << "Windows: 1 once the program was set up";
    EXPECT_EQ(read_bytes(temp.file("DATA.TXT")), records);
}

TEST_F(RaveloWineE2e, TheResultIsReportedInAMessageBox) {
    start_terminal({"--generate", "8", "--size", "30"});
    BackgroundProcess program(ravelo("DATA.TXT"));
    const ProcessResult box = answer_box("Příjem dat", "no");
    EXPECT_EQ(box.exit_status, 0) << "no result box appeared";
    EXPECT_EQ(box.out, "Hotovo : 8 záznamů přijato.\nZobrazit přijatá data?");
    EXPECT_EQ(program.wait(30s), 1);
    EXPECT_EQ(read_bytes(temp.file("DATA.TXT")).size(), 8u * 32);
}

TEST_F(RaveloWineE2e, ATerminalFallingSilentIsReportedAndItsRecordsKept) {
    start_terminal({"--generate", "6", "--size", "10", "--silent-from", "3"});
    BackgroundProcess program(ravelo("DATA.TXT,1,1,1,1,1,1,0,0,0,2"));
    const ProcessResult box = answer_box("Chyba", "ok");
    EXPECT_EQ(box.out, "Čas vypršel!");
    EXPECT_EQ(program.wait(30s), 1);
    EXPECT_EQ(read_bytes(temp.file("DATA.TXT")).size(), 3u * 12);
}

}  // namespace

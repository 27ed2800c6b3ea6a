// Ravelo.exe in command-line mode under Wine, COM1 linked to velmora-sim's pseudo-terminal, its
// message boxes answered from outside.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "tests/support/posix/wine_rig.h"

namespace {

using namespace std::chrono_literals;
using namespace testing_support;
using RaveloWineE2e = testing_support::WineE2e;

TEST_F(RaveloWineE2e, CommandLineModeWritesTheBatchByteExact) {
    std::string records;
    for (int i = 0; i < 30; ++i) {
        std::string line = "Záznam " + std::to_string(i) + " ";
        for (int b = 1; b < 256; b += 5 + i) {
            if (b != 0x0D && b != 0x0A) line += static_cast<char>(b);
        }
        records += line + "\r\n";
    }
    write_bytes(rig.temp.file("records.bin"), records);
    ASSERT_TRUE(rig.start_terminal({"--records", rig.temp.file("records.bin")}));
    const ProcessResult result = rig.run(rig.ravelo("DATA.TXT,1,1,1,1,1,1,0,0,0,2"), {}, 60s);
    EXPECT_EQ(result.exit_status, 1) << "Windows: 1 once the program was set up";
    EXPECT_EQ(read_bytes(rig.temp.file("DATA.TXT")), records);
}

TEST_F(RaveloWineE2e, TheResultIsReportedInAMessageBox) {
    ASSERT_TRUE(rig.start_terminal({"--generate", "8", "--size", "30"}));
    BackgroundProcess program(rig.ravelo("DATA.TXT"));
    const ProcessResult box = rig.answer_box("Příjem dat", "no");
    EXPECT_EQ(box.exit_status, 0) << "no result box appeared";
    EXPECT_EQ(box.out, "Hotovo : 8 záznamů přijato.\nZobrazit přijatá data?");
    EXPECT_EQ(program.wait(30s), 1);
    EXPECT_EQ(read_bytes(rig.temp.file("DATA.TXT")).size(), 8u * 32);
}

TEST_F(RaveloWineE2e, ATerminalFallingSilentIsReportedAndItsRecordsKept) {
    ASSERT_TRUE(rig.start_terminal({"--generate", "6", "--size", "10", "--silent-from", "3"}));
    BackgroundProcess program(rig.ravelo("DATA.TXT,1,1,1,1,1,1,0,0,0,2"));
    EXPECT_EQ(rig.answer_box("Chyba", "ok").out, "Čas vypršel!");
    EXPECT_EQ(program.wait(30s), 1);
    EXPECT_EQ(read_bytes(rig.temp.file("DATA.TXT")).size(), 3u * 12);
}

// A USB adapter numbered past the list: VELMORA_COM1 names the port that COM1 opens.
TEST_F(RaveloWineE2e, APortNamedByItsVariableIsOpenedInstead) {
    ASSERT_TRUE(rig.start_terminal({"--generate", "3", "--size", "10"}, 2));
    for (const char* redirect : {"COM2", "\\\\.\\COM2"}) {
        SCOPED_TRACE(redirect);
        std::filesystem::remove(rig.temp.file("DATA.TXT"));
        const ProcessResult result =
            rig.run(rig.ravelo("DATA.TXT,1,1,1,1,1,1,0,0,0,2"), {{"VELMORA_COM1", redirect}}, 60s);
        EXPECT_EQ(result.exit_status, 1);
        EXPECT_EQ(read_bytes(rig.temp.file("DATA.TXT")).size(), 3u * 12);
    }
}

// "/?" answers with the usage in a box and opens nothing; an absolute output name in each of its
// Windows forms is used as it stands, not joined to the program's folder.
TEST_F(RaveloWineE2e, HelpBoxAndAbsoluteNames) {
    ASSERT_TRUE(rig.start_terminal({"--generate", "2", "--size", "5"}));
    BackgroundProcess help(rig.ravelo("/?"));
    const ProcessResult box = rig.answer_box("Ravelo", "ok");
    EXPECT_EQ(box.out.rfind("Použití: Ravelo.exe [soubor,P,B,M,C,L,E,R,A,O,interval]", 0), 0u)
        << box.out;
    EXPECT_EQ(help.wait(30s), 0);

    std::filesystem::create_directory(rig.temp.file("sub"));
    // The folder with its drive letter, and the same from the root of the current drive (Z:).
    const std::string drive = rig.wine_directory() + "sub\\";
    const std::string rooted = drive.substr(2);
    const struct {
        std::string path;
        const char* file;
    } cases[] = {{drive + "drive.txt", "drive.txt"}, {rooted + "rooted.txt", "rooted.txt"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const ProcessResult result = rig.run(rig.ravelo(c.path + ",1,1,1,1,1,0,0,0,0,2"), {}, 60s);
        EXPECT_EQ(result.exit_status, 1);
        EXPECT_EQ(read_bytes(rig.temp.file("sub/" + std::string(c.file))).size(), 2u * 7);
    }
}

// The reader's acknowledgements of records in velmora-sim's transcript: "ACK" from the host
// (the terminal's own "ACK" answers "READ").
int acknowledgements(const WineRig& rig) {
    std::istringstream wire(read_bytes(rig.temp.file("wire.txt")));
    int count = 0;
    for (std::string line; std::getline(wire, line);) {
        if (line.find("host>term") == std::string::npos) continue;
        const std::string shown = line.substr(line.find('|'));
        for (auto at = shown.find("ACK."); at != std::string::npos; at = shown.find("ACK.", at + 1))
            ++count;
    }
    return count;
}

// Another program holding the output (a viewer that lets writers in) does not stop the records;
// a name that Windows takes for a device anywhere is refused before any record is acknowledged.
TEST_F(RaveloWineE2e, OutputHeldByAViewerTakesRecordsAndDeviceNamesAreRefused) {
    ASSERT_TRUE(rig.start_terminal(
        {"--generate", "2", "--size", "5", "--transcript", rig.temp.file("wire.txt")}));
    write_bytes(rig.temp.file("DATA.TXT"), "old\r\n");
    ASSERT_TRUE(rig.hold_file("DATA.TXT", "r", "rw"));
    const ProcessResult appended = rig.run(rig.ravelo("DATA.TXT,1,1,2,1,1,1,0,0,0,2"), {}, 60s);
    rig.release_held();
    EXPECT_EQ(appended.exit_status, 1);
    EXPECT_EQ(read_bytes(rig.temp.file("DATA.TXT")).size(), 5u + 2 * 7);
    EXPECT_EQ(acknowledgements(rig), 2);

    BackgroundProcess program(rig.ravelo("NUL.TXT,1,1,1,1,1,1,0,0,0,2"));
    EXPECT_EQ(rig.answer_box("Chyba", "ok").out, "Nepodařilo se otevřít/vytvořit soubor!");
    EXPECT_EQ(program.wait(30s), 1);
    EXPECT_EQ(acknowledgements(rig), 2) << "the device took no record";
}

}  // namespace

// Ravelo.exe under Wine driven through its dialogs from outside: the properties dialog's OK and
// Storno, and the online polling window.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/posix/wine_rig.h"

namespace {

using namespace std::chrono_literals;
using namespace testing_support;
using RaveloDialogWineE2e = testing_support::WineE2e;

const char* const kPropertiesCaption = "Čtení dat přes RS-232 (Ver 4.10)";

// Files named like automatic names (eight characters and ".TXT") in the folder.
std::vector<std::filesystem::path> automatic_files(const WineRig& rig) {
    std::vector<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::directory_iterator(rig.temp.file(""))) {
        const std::string name = entry.path().filename().string();
        if (name.size() == 12 && name.substr(8) == ".TXT") found.push_back(entry.path());
    }
    return found;
}

// OK saves the settings, then transfers; Storno ends the run without saving or transferring.
TEST_F(RaveloDialogWineE2e, OkSavesTheSettingsThenTransfersAndStornoDoesNeither) {
    // Two lines only: every other setting keeps its default, always_ask among them.
    const std::string settings = rig.wine_directory() + "\r\nDATA.TXT";
    for (const std::string button : {"cancel", "ok"}) {
        SCOPED_TRACE(button);
        const bool ok = button == "ok";
        write_bytes(rig.temp.file("Ravelo.ini"), settings);
        ASSERT_TRUE(rig.start_terminal({"--generate", "5", "--size", "20"}));
        BackgroundProcess program(rig.ravelo());
        EXPECT_EQ(rig.answer_box(kPropertiesCaption, button).exit_status, 0)
            << "the properties dialog did not appear";
        if (ok) {
            EXPECT_EQ(rig.answer_box("Příjem dat", "no").out,
                      "Hotovo : 5 záznamů přijato.\nZobrazit přijatá data?");
        }
        EXPECT_EQ(program.wait(30s), 1);
        EXPECT_EQ(read_bytes(rig.temp.file("Ravelo.ini")),
                  ok ? settings + "\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n0\r\n2" : settings);
        EXPECT_EQ(read_bytes(rig.temp.file("DATA.TXT")),
                  ok ? as_lines(sim::generate_records(5, 20)) : "");
        EXPECT_EQ(std::filesystem::exists(rig.temp.file("DATA.TXT")), ok);
    }
}

// Online with automatic names: each poll's batch lands in a file of its own until the window
// is closed.
TEST_F(RaveloDialogWineE2e, OnlinePollingWritesEachBatchToItsOwnFile) {
    ASSERT_TRUE(rig.start_terminal({"--generate", "4", "--size", "16"}));
    // Online, automatic names, polled every second, no dialog.
    BackgroundProcess program(rig.ravelo(",1,1,1,1,1,1,0,0,1,1"));
    eventually([&] { return automatic_files(rig).size() >= 3; }, 20s);
    EXPECT_EQ(rig.answer_box("Připraveno pro příjem dat", "cancel", 10).exit_status, 0)
        << "the polling window was not found";
    EXPECT_EQ(program.wait(30s), 1);
    const auto files = automatic_files(rig);
    ASSERT_GE(files.size(), 3u);
    for (const auto& file : files) {
        EXPECT_EQ(std::filesystem::file_size(file), 4u * 18) << file;
    }
}

// ñ is not in code page 1250: a folder named "Año" is saved in a form that reads back (its short
// form, which Wine makes up on demand), so the next start writes into the same folder.
TEST_F(RaveloDialogWineE2e, AFolderOutsideCodePage1250ComesBackAtTheNextStart) {
    const std::string folder = rig.temp.file("Año");
    std::filesystem::create_directory(folder);
    std::filesystem::copy_file(rig.temp.file("Ravelo.exe"), folder + "/Ravelo.exe");
    // No settings file: the dialog proposes the program's folder, and OK saves it. No terminal
    // answers yet, so the run ends there.
    BackgroundProcess first(rig.program("Año/Ravelo.exe", ""));
    EXPECT_EQ(rig.answer_box(kPropertiesCaption, "ok").exit_status, 0);
    first.wait(30s);
    const std::string saved = read_bytes(folder + "/Ravelo.ini");
    EXPECT_EQ(saved.substr(0, saved.find('\r')).find('?'), std::string::npos) << saved;

    ASSERT_TRUE(rig.start_terminal({"--generate", "5", "--size", "20"}));

    BackgroundProcess second(rig.program("Año/Ravelo.exe", "DATA.TXT,1,1,1,1,1,0,0,0,0,2"));
    EXPECT_EQ(second.wait(30s), 1);
    EXPECT_EQ(read_bytes(folder + "/DATA.TXT").size(), 5u * 22) << saved;
}

}  // namespace

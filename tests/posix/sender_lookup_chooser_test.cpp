// The sender's lookup file chooser on the terminal, answered from a script: what each answer picks.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "sender/posix/lookup_chooser.h"
#include "tests/support/posix/scripted_terminal.h"
#include "tests/support/temp_dir.h"

namespace lumbra {
namespace {

using testing_support::ScriptedTerminal;

// A folder with two lookup files (extensions in either case), one other file and a subfolder.
class Chooser : public ::testing::Test {
  protected:
    Chooser() {
        std::filesystem::create_directory(temp.file("sub"));
        for (const char* name : {"b.TXT", "A.txt", "c.dat", "sub/z.TXT"}) {
            testing_support::write_bytes(temp.file(name), "x\r\n");
        }
    }
    testing_support::TempDir temp;
};

TEST_F(Chooser, AnswersPickAListedFileAPathOrCancel) {
    const std::string dir = temp.directory();
    struct Case {
        std::string proposed;
        std::deque<std::string> answers;
        std::string chosen;  // empty: cancelled
        std::string shown;   // a text the chooser must have written
    };
    const std::vector<Case> cases = {
        {"", {"2"}, dir + "b.TXT", "  1) A.txt\n  2) b.TXT\nČíslo"},
        {"b.TXT", {""}, dir + "b.TXT", "[b.TXT] (Enter = navržený soubor, Esc nebo Ctrl+D"},
        {"", {"nic.txt", "3", "c.dat"}, dir + "c.dat", "Soubor " + dir + "3 neexistuje.\n"},
        {"", {"sub", "1"}, dir + "sub/z.TXT", "Adresář: " + dir + "sub\n  1) z.TXT\n"},
        {"", {dir + "sub/../A.txt"}, dir + "A.txt", ""},
        {"b.TXT", {"\x1b"}, "", ""},
        {"b.TXT", {"nic.txt"}, "", "neexistuje"},  // then the end of input
        {"", {"a\x1b[2J.txt"}, "", "Soubor " + dir + "a\\x1B[2J.txt neexistuje.\n"},
        {"", {""}, "", "(Enter, Esc nebo Ctrl+D = zrušit)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answers.front());
        SenderSettings settings;
        settings.directory = dir;
        settings.lookup_path = c.proposed;
        ScriptedTerminal terminal(c.answers);
        EXPECT_EQ(run_lookup_chooser(settings, terminal), !c.chosen.empty());
        EXPECT_EQ(settings.lookup_path, c.chosen.empty() ? c.proposed : c.chosen);
        EXPECT_NE(terminal.shown.find(c.shown), std::string::npos) << terminal.shown;
        EXPECT_EQ(terminal.shown.find("c.dat\n"), std::string::npos) << "not a lookup file";
    }
}

}  // namespace
}  // namespace lumbra

// Lumbra.exe under Wine, COM1 linked to velmora-sim's lookup target, its message boxes and
// dialogs answered from outside as a user would.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "tests/support/posix/wine_rig.h"

namespace {

using namespace std::chrono_literals;
using namespace testing_support;
using LumbraWineE2e = testing_support::WineE2e;

const char* const kDone = "Přenos úspěšně dokončen!";
const char* const kRepeat = "Přenos selhal, přejete si přenos opakovat?";

// box-answer names the box's owner on its standard error.
bool owned_by(const ProcessResult& box, const std::string& owner) {
    return box.err.find("owner: " + owner) != std::string::npos;
}
const char* const kProgressWindow = "Průběh (Nahrávání databáze do TRM )";

// Lines of every byte value but CR and LF (NUL and code page 1250 letters included), from empty
// to the 253 bytes a record holds, so that the file spans many 128-byte blocks.
std::string lookup_table() {
    std::string table;
    for (int i = 0; i < 24; ++i) {
        std::string line = i % 2 ? "Položka " + std::to_string(i) + " \xE8\xF8\x9E" : "";
        for (int b = i * 11 % 256; line.size() < static_cast<std::size_t>(i * 11 % 254); ++b) {
            const char c = static_cast<char>(b % 256);
            if (c != '\r' && c != '\n') line += c;
        }
        table += line + "\r\n";
    }
    return table;
}

// The lookup target's --out file once it holds something (it is written after "OVER").
std::string loaded(const WineRig& rig) {
    return wait_for_file(rig.temp.file("loaded.txt"));
}

// A name with a blank: Wine, like a program that quotes its argument, hands the whole string
// over in double quotes, which are no part of the path. A FIFO reports no size: the table is read
// whole first. A table left open in a spreadsheet (read and write, sharing reading) still loads.
TEST_F(LumbraWineE2e, CommandLineRunLoadsTheFileByteExact) {
    for (const char* source : {"file", "FIFO", "file open elsewhere"}) {
        SCOPED_TRACE(source);
        const std::string kind = source;
        WineRig each;  // a folder and a terminal of its own
        const std::string table = lookup_table();
        write_bytes(each.temp.file("moje tabulka.txt"), table);
        ASSERT_TRUE(each.start_lookup_terminal({"--out", each.temp.file("loaded.txt")}));
        std::unique_ptr<BackgroundProcess> writer;
        if (kind == "FIFO") {
            ASSERT_EQ(::mkfifo(each.temp.file("roura.txt").c_str(), 0600), 0);
            writer = std::make_unique<BackgroundProcess>(std::vector<std::string>{
                "/bin/sh", "-c", "cat \"$0\" > \"$1\"", each.temp.file("moje tabulka.txt"),
                each.temp.file("roura.txt")});
        }
        if (kind == "file open elsewhere") {
            ASSERT_TRUE(each.hold_file("moje tabulka.txt", "rw", "r"));
        }
        BackgroundProcess program(each.lumbra(
            each.wine_file(kind == "FIFO" ? "roura.txt" : "moje tabulka.txt") + ",1,1"));
        const auto done = each.answer_box("Lumbra", "ok");
        EXPECT_EQ(done.exit_status, 0) << "no result box appeared";
        EXPECT_EQ(done.out, kDone);
        EXPECT_TRUE(owned_by(done, "none"))
            << done.err << ": shown after the progress window closed";
        EXPECT_EQ(program.wait(30s), 0);
        each.release_held();
        EXPECT_EQ(loaded(each), table);
        EXPECT_FALSE(std::filesystem::exists(each.temp.file("Lumbra.ini")))
            << "command-line mode writes no settings file";
    }
}

// "FULL": its own box, then the repeat question; Yes sends the whole file again (and meets
// "FULL" again), No ends the run.
TEST_F(LumbraWineE2e, FullMemoryIsReportedThenRepeatedOnYesAndEndedOnNo) {
    write_bytes(rig.temp.file("tabulka.txt"), lookup_table());
    ASSERT_TRUE(rig.start_lookup_terminal({"--memory", "600"}));
    BackgroundProcess program(rig.lumbra(rig.wine_file("tabulka.txt")));
    for (const char* answer : {"yes", "no"}) {
        SCOPED_TRACE(answer);
        const auto full = rig.answer_box("Lumbra CHYBA ", "ok");
        EXPECT_EQ(full.out, "Paměť terminálu nepostačuje!\r\nSnižte velikost lookup souboru...");
        EXPECT_TRUE(owned_by(full, kProgressWindow)) << full.err << ": over the progress window";
        const auto question = rig.answer_box("Lumbra", answer);
        EXPECT_EQ(question.out, kRepeat);
        EXPECT_TRUE(owned_by(question, "none")) << question.err << ": the window closed first";
    }
    EXPECT_EQ(program.wait(30s), 0);
}

// A missing file and "/?" (the usage) end in a box with no owner; neither starts a load or
// writes settings.
TEST_F(LumbraWineE2e, MissingLookupFileAndSlashQuestionAreShownInABox) {
    const struct {
        std::string tail;
        std::string text;  // the box's text, or the beginning of the usage
    } cases[] = {{rig.wine_file("chybi.txt") + ",2,5", "Nemohu otevřít soubor!"},
                 {"/?", "Použití: Lumbra.exe [soubor[,P,B]]\n"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tail);
        BackgroundProcess program(rig.lumbra(c.tail));
        const auto box = rig.answer_box("Lumbra", "ok");
        EXPECT_EQ(c.tail == "/?" ? box.out.substr(0, c.text.size()) : box.out, c.text) << box.out;
        EXPECT_TRUE(owned_by(box, "none")) << box.err << ": the first box has no owner";
        EXPECT_EQ(program.wait(30s), 0);
        EXPECT_FALSE(std::filesystem::exists(rig.temp.file("Lumbra.ini")));
    }
}

// Interactive: the Open dialog proposes the stored file, the port dialog follows; OK saves the
// settings before the transfer, Zrušit ends the run with the settings file as it was.
TEST_F(LumbraWineE2e, InteractiveRunThroughTheOpenAndPortDialogs) {
    const std::string table = lookup_table();
    write_bytes(rig.temp.file("tabulka.txt"), table);
    std::string folder = rig.wine_directory();
    folder.pop_back();
    // Two lines: the port and speed keep their defaults, COM1 and 115200.
    const std::string settings = folder + "\r\ntabulka.txt";
    ASSERT_TRUE(rig.start_lookup_terminal({"--out", rig.temp.file("loaded.txt")}));
    for (const std::string button : {"cancel", "ok"}) {
        SCOPED_TRACE(button);
        write_bytes(rig.temp.file("Lumbra.ini"), settings);
        BackgroundProcess program(rig.lumbra());
        EXPECT_EQ(rig.answer_box("Open", "ok").exit_status, 0) << "no Open dialog";
        EXPECT_EQ(rig.answer_box("Nastavení COM portu pro přenos:", button).exit_status, 0)
            << "no port dialog";
        if (button == "ok") {
            EXPECT_EQ(rig.answer_box("Lumbra", "ok").out, kDone);
        }
        EXPECT_EQ(program.wait(30s), 0);
        EXPECT_EQ(read_bytes(rig.temp.file("Lumbra.ini")),
                  button == "ok" ? settings + "\r\n1\r\n1\r\n" : settings);
    }
    EXPECT_EQ(loaded(rig), table);
}

}  // namespace

// The command-line settings string: positions, resets, clamps and when the dialog is skipped.
#include <gtest/gtest.h>

#include "common/quoted_name.h"
#include "reader/command_line.h"
#include "reader/reader_messages.h"
#include "tests/core/reader_test_fixture.h"
#include "tests/support/settings_print.h"

namespace {

using ravelo::ReaderSettings;

// Fields in the record's order: directory, name, port, speed, mode, CR, LF, errors, received,
// always ask, online, interval.
const char* const kDir = "C:\\Data\\";

// What the settings file had loaded before the command line is applied.
ReaderSettings loaded_from_file() {
    return {kDir, "old.txt", 6, 3, 3, 0, 0, 0, 0, 0, 1, 77};
}

// The values a non-empty tail starts from, with the file's directory kept.
ReaderSettings reset_values(const std::string& file_name) {
    return {kDir, file_name};
}

struct CommandLineCase {
    std::string tail;
    ReaderSettings expected;
    bool command_line_mode;
};

TEST(ReaderCommandLine, AppliesTheTailByPosition) {
    const CommandLineCase cases[] = {
        {"", loaded_from_file(), false},  // an empty tail changes nothing
        {"data.txt", reset_values("data.txt"), true},
        {"data.txt,2,5,2,0,1,0,0,1,0,30", {kDir, "data.txt", 1, 4, 1, 0, 1, 0, 0, 1, 0, 30}, true},
        {",1,1,1,1,1,1,0,1,1,5", {kDir, "", 0, 0, 0, 1, 1, 1, 0, 1, 1, 5}, true},
        {",1,1,2,1,1,1,0,1,1,5", {kDir, "", 0, 0, 1, 1, 1, 1, 0, 1, 1, 5}, false},
        // Offline without a name: the dialog must ask.
        {",1,1,1,1,1,1,0,1,0,5", {kDir, "", 0, 0, 0, 1, 1, 1, 0, 1, 0, 5}, false},
        // Separators of any kind, a Czech one included: it is one character in code page 1250.
        {"out.txt,9;5ř4 0x0.0-0/0_1+9999",
         {kDir, "out.txt", 8, 4, 3, 0, 0, 0, 0, 0, 1, 9999},
         true},
        // Out-of-range characters leave the reset values.
        {"x.txt,0,6,5,2,A,-,1,1,0,0", reset_values("x.txt"), true},
        {"x.txt,2,5", {kDir, "x.txt", 1, 4, 0, 1, 1, 1, 1, 1, 0, 2}, true},
        {"x.txt,1,1,1,1,1,1,1,1,0,0", reset_values("x.txt"), true},
        {"x.txt,1,1,1,1,1,1,1,1,0,abc", reset_values("x.txt"), true},
        {"x.txt,1,1,1,1,1,1,1,1,0,123456", {kDir, "x.txt", 0, 0, 0, 1, 1, 1, 1, 1, 0, 9999}, true},
        {"a,b.txt", reset_values("a"), true},
    };
    for (const CommandLineCase& c : cases) {
        reader_test::ReaderFixture f;
        f.reader.settings = loaded_from_file();
        EXPECT_TRUE(ravelo::apply_command_line(f.reader, c.tail));
        EXPECT_EQ(f.reader.settings, c.expected) << c.tail;
        EXPECT_EQ(f.reader.command_line_mode, c.command_line_mode) << c.tail;
    }
}

// A cut string loses its last digits (here the mode: append became overwrite) or names another
// file; a longer one is refused whole, with a message even when its error switch is off.
TEST(ReaderCommandLine, RefusesAStringOver255Characters) {
    std::string czech;
    for (int i = 0; i < 300; ++i) czech += "ř";
    const std::string too_long[] = {std::string(250, 'n') + ",1,1,2,1,1,0,0,0,0,2",
                                    czech + std::string(5000, 'x'), std::string(256, '\x80')};
    for (const std::string& tail : too_long) {
        reader_test::ReaderFixture f;
        f.reader.settings = loaded_from_file();
        EXPECT_FALSE(ravelo::apply_command_line(f.reader, tail));
        EXPECT_EQ(f.reader.settings, loaded_from_file());
        EXPECT_FALSE(f.reader.command_line_mode);
        const testing_support::ShownMessage refused{ravelo::kErrorCaption,
                                                    ravelo::kCommandLineTooLong};
        EXPECT_EQ(f.ui.messages, std::vector<testing_support::ShownMessage>{refused});
    }
    reader_test::ReaderFixture f;
    EXPECT_TRUE(ravelo::apply_command_line(f.reader, czech.substr(0, 255 * 2)));
    EXPECT_EQ(f.reader.settings.file_name, czech.substr(0, 255 * 2));
}

// What Explorer, shortcuts, batch files and calling programs make of a path with blanks.
TEST(ReaderCommandLine, QuotesAroundTheNameOrTheWholeString) {
    const std::pair<std::string, std::string> cases[] = {
        {"\"C:\\My Data\\x.txt\",1,1", "C:\\My Data\\x.txt,1,1"},
        {"\"C:\\My Data\\x.txt,1,1\"", "C:\\My Data\\x.txt,1,1"},
        {"\"C:\\My Data\\x.txt\" ,1,1", "C:\\My Data\\x.txt,1,1"},
        {"\"\"", ""},
        {"\"C:\\x.txt,1,1", "\"C:\\x.txt,1,1"},
        {"\"C:\\a b\\x.txt\" \"C:\\a b\\y.txt\"", "\"C:\\a b\\x.txt\" \"C:\\a b\\y.txt\""},
    };
    for (const auto& [tail, taken] : cases) EXPECT_EQ(common::without_name_quotes(tail), taken);
}

}  // namespace

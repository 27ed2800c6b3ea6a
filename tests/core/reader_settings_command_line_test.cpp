// The command-line settings string: positions, resets, clamps and when the dialog is skipped.
#include <gtest/gtest.h>

#include "common/quoted_name.h"
#include "reader/command_line.h"
#include "reader/reader_messages.h"
#include "tests/core/reader_test_fixture.h"

namespace {

using ravelo::ReaderSettings;

// What the settings file had loaded before the command line is applied.
ReaderSettings loaded_from_file() {
    ReaderSettings s;
    s.directory = "C:\\Data\\";
    s.file_name = "old.txt";
    s.port_index = 6;
    s.baud_index = 3;
    s.file_mode = 3;
    s.append_cr = 0;
    s.append_lf = 0;
    s.show_errors = 0;
    s.show_received = 0;
    s.always_ask = 0;
    s.online = 1;
    s.poll_interval = 77;
    return s;
}

// The values a non-empty tail starts from, with the file's directory kept.
ReaderSettings reset_values(const std::string& file_name) {
    ReaderSettings s;
    s.directory = "C:\\Data\\";
    s.file_name = file_name;
    return s;
}

struct CommandLineCase {
    std::string tail;
    ReaderSettings expected;
    bool command_line_mode;
};

ReaderSettings with(ReaderSettings s, void (*change)(ReaderSettings&)) {
    change(s);
    return s;
}

TEST(ReaderCommandLine, AppliesTheTailByPosition) {
    const CommandLineCase cases[] = {
        {"data.txt", reset_values("data.txt"), true},
        {"data.txt,2,5,2,0,1,0,0,1,0,30",
         with(reset_values("data.txt"),
              [](ReaderSettings& s) {
                  s.port_index = 1;
                  s.baud_index = 4;
                  s.file_mode = 1;
                  s.append_cr = 0;
                  s.show_errors = 0;
                  s.show_received = 0;
                  s.poll_interval = 30;
              }),
         true},
        {",1,1,1,1,1,1,0,1,1,5",
         with(reset_values(""),
              [](ReaderSettings& s) {
                  s.show_received = 0;
                  s.online = 1;
                  s.poll_interval = 5;
              }),
         true},
        {",1,1,2,1,1,1,0,1,1,5",
         with(reset_values(""),
              [](ReaderSettings& s) {
                  s.file_mode = 1;
                  s.show_received = 0;
                  s.online = 1;
                  s.poll_interval = 5;
              }),
         false},
        {",1,1,1,1,1,1,0,1,0,5",  // offline without a name: the dialog must ask
         with(reset_values(""),
              [](ReaderSettings& s) {
                  s.show_received = 0;
                  s.poll_interval = 5;
              }),
         false},
        // Separators of any kind, a Czech one included: it is one character in code page 1250.
        {"out.txt,9;5ř4 0x0.0-0/0_1+9999",
         with(reset_values("out.txt"),
              [](ReaderSettings& s) {
                  s.port_index = 8;
                  s.baud_index = 4;
                  s.file_mode = 3;
                  s.append_cr = s.append_lf = s.show_errors = s.show_received = 0;
                  s.always_ask = 0;
                  s.online = 1;
                  s.poll_interval = 9999;
              }),
         true},
        // Out-of-range characters leave the reset values.
        {"x.txt,0,6,5,2,A,-,1,1,0,0", reset_values("x.txt"), true},
        {"x.txt,2,5",
         with(reset_values("x.txt"),
              [](ReaderSettings& s) {
                  s.port_index = 1;
                  s.baud_index = 4;
              }),
         true},
        {"x.txt,1,1,1,1,1,1,1,1,0,0", reset_values("x.txt"), true},
        {"x.txt,1,1,1,1,1,1,1,1,0,abc", reset_values("x.txt"), true},
        {"x.txt,1,1,1,1,1,1,1,1,0,123456",
         with(reset_values("x.txt"), [](ReaderSettings& s) { s.poll_interval = 9999; }), true},
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

TEST(ReaderCommandLine, EmptyTailChangesNothing) {
    reader_test::ReaderFixture f;
    f.reader.settings = loaded_from_file();
    EXPECT_TRUE(ravelo::apply_command_line(f.reader, ""));
    EXPECT_EQ(f.reader.settings, loaded_from_file());
    EXPECT_FALSE(f.reader.command_line_mode);
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

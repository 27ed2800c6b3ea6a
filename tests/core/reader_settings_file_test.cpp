// "Ravelo.ini" (exact bytes on disk, code page 1250 text, malformed files loaded safely) and
// the command-line settings string that may stand in for it.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "common/quoted_name.h"
#include "common/settings_text.h"
#include "platform/paths.h"
#include "reader/command_line.h"
#include "reader/reader_messages.h"
#include "reader/settings_file.h"
#include "tests/core/reader_test_fixture.h"
#include "tests/support/settings_print.h"

namespace {

using ravelo::ReaderSettings;
using reader_test::read_bytes;
using reader_test::write_bytes;

// Fields in the record's order: directory, name, port, speed, mode, CR, LF, errors, received,
// always ask, online, interval.
ReaderSettings sample_settings() {
    return {"C:\\Data\\Příjem", "data.txt", 1, 4, 2, 0, 1, 0, 1, 1, 0, 30};
}

const char* const kSampleBytes =
    "C:\\Data\\P\xF8\xEDjem\r\ndata.txt\r\n2\r\n5\r\n3\r\n0\r\n1\r\n0\r\n1\r\n1\r\n0\r\n30";

// As this platform saves it: UTF-8 on Linux, where nothing else reads the file.
std::string saved_sample_bytes() {
    std::string bytes = kSampleBytes;
    if (platform::settings_files_are_utf8()) bytes.replace(bytes.find("P\xF8\xED"), 3, "Pří");
    return bytes;
}

// What saving `settings` leaves in a settings file that held `old` ("" for no file).
std::string saved_over(const std::string& old, const ReaderSettings& settings = sample_settings()) {
    reader_test::ReaderFixture f;
    f.reader.settings_path = f.temp.file("Ravelo.ini");
    if (!old.empty()) write_bytes(f.reader.settings_path, old);
    f.reader.settings = settings;
    ravelo::save_settings(f.reader);
    return read_bytes(f.reader.settings_path);
}

// What loading a settings file that holds `bytes` leaves in the settings.
ReaderSettings loaded_from(const std::string& bytes) {
    reader_test::ReaderFixture f;
    write_bytes(f.temp.file("Ravelo.ini"), bytes);
    ravelo::load_settings(f.reader, f.temp.directory());
    return f.reader.settings;
}

// Saved over no file or over a longer old one: the exact layout, in code page 1250.
TEST(ReaderSettingsFile, SaveWritesTheExactLayoutInCodePage1250) {
    for (const std::string& old : {std::string(), std::string(500, 'x')}) {
        SCOPED_TRACE(old.empty() ? "no file" : "replaces a longer old file");
        EXPECT_EQ(saved_over(old), saved_sample_bytes());
    }
}

TEST(ReaderSettingsFile, SavedRecordsLoadBackUnchanged) {
    const ReaderSettings online{"", "", 8, 4, 3, 0, 1, 0, 1, 1, 1, 9999};
    std::vector<ReaderSettings> records{sample_settings(), ReaderSettings{}, online};
    if (platform::settings_files_are_utf8()) {
        ReaderSettings spanish = sample_settings();  // code page 1250 has no "ñ"
        spanish.directory = "/data/Año";
        spanish.file_name = "año.txt";
        records.push_back(spanish);
    }
    for (const ReaderSettings& saved : records) {
        const std::string bytes = saved_over("", saved);
        EXPECT_EQ(loaded_from(bytes), saved) << bytes;
    }
}

// Files saved by other editors end their lines in LF or CR alone.
TEST(ReaderSettingsFile, LoadReadsCzechDirectoryFromCodePage1250WithAnyLineEnd) {
    for (const char* line_end : {"\r\n", "\n", "\r"}) {
        std::string bytes = kSampleBytes;
        for (std::size_t at = 0; (at = bytes.find("\r\n", at)) != std::string::npos;) {
            bytes.replace(at, 2, line_end);
            at += std::strlen(line_end);
        }
        EXPECT_EQ(loaded_from(bytes), sample_settings()) << bytes;
    }
}

TEST(ReaderSettingsFile, MissingFileKeepsDefaultsAndTakesTheExecutableDirectory) {
    reader_test::ReaderFixture f;
    ravelo::load_settings(f.reader, f.temp.directory());
    ReaderSettings expected;
    expected.directory = f.temp.directory();
    EXPECT_EQ(f.reader.settings, expected);
    EXPECT_EQ(f.reader.settings_path, f.temp.directory() + "Ravelo.ini");
}

// Code page 1250 lacks ñ, å and Cyrillic: such a path is stored only in a form that reads back.
TEST(ReaderSettingsFile, APathLineStoresOnlyAFormThatReadsBackAsTheSamePath) {
    const std::optional<std::string> none;
    const struct {
        const char* path;
        const char* short_form;  // "" when there is none; the path itself with short names off
        std::optional<std::string> earlier;
        std::optional<std::string> stored;
    } cases[] = {
        {"C:\\Příjem", "", none, "C:\\Příjem"},
        {"C:\\Año", "C:\\AO~1", "C:\\Old", "C:\\AO~1"},
        {"C:\\Данные", "C:\\Данные", "C:\\Old", "C:\\Old"},
        {"C:\\Users\\Åsa\\", "", none, none},
    };
    for (const auto& c : cases) {
        const auto short_form = [&](const std::string&) { return std::string(c.short_form); };
        // A UTF-8 file holds every one of them as it stands.
        const std::optional<std::string> stored =
            platform::settings_files_are_utf8() ? std::optional<std::string>(c.path) : c.stored;
        EXPECT_EQ(common::path_line_text(c.path, short_form, c.earlier), stored) << c.path;
    }
}

// Without short names (POSIX): the earlier lines stay; with no earlier file, nothing is written.
TEST(ReaderSettingsFile, SaveKeepsTheEarlierLinesForPathsTheFileCannotHold) {
    for (const bool earlier : {true, false}) {
        reader_test::ReaderFixture f;
        if (earlier) write_bytes(f.temp.file("Ravelo.ini"), "C:\\Old\nold.txt");
        ravelo::load_settings(f.reader, f.temp.directory());
        f.reader.settings = sample_settings();
        // In UTF-8 only bytes that are no UTF-8 cannot be held (a Latin-1 name on Linux).
        const bool utf8 = platform::settings_files_are_utf8();
        f.reader.settings.directory = utf8 ? "C:\\A\xF1o" : "C:\\Año";
        f.reader.settings.file_name = utf8 ? "a\xF1o.txt" : "año.txt";
        EXPECT_EQ(ravelo::save_settings(f.reader), earlier);
        const std::string sample = kSampleBytes;
        const std::string kept = "C:\\Old\r\nold.txt" + sample.substr(sample.find("\r\n2"));
        EXPECT_EQ(read_bytes(f.temp.file("Ravelo.ini")), earlier ? kept : "");
    }
}

// Settings kept in the user's folder start from an administrator's file beside the executable
// until the user's own exists; that file is never written.
TEST(ReaderSettingsFile, TheUsersFolderStartsFromTheFileBesideTheExecutable) {
    for (const bool own : {false, true}) {
        reader_test::ReaderFixture f;
        reader_test::TempDir beside;
        write_bytes(beside.file("Ravelo.ini"), kSampleBytes);
        if (own) write_bytes(f.temp.file("Ravelo.ini"), "D:\\Own");
        ravelo::load_settings(f.reader,
                              {f.temp.directory(), f.temp.directory(), beside.directory()});
        EXPECT_EQ(f.reader.settings.directory, own ? "D:\\Own" : "C:\\Data\\Příjem");
        ravelo::save_settings(f.reader);
        EXPECT_EQ(read_bytes(beside.file("Ravelo.ini")), kSampleBytes);
        EXPECT_EQ(f.reader.settings_path, f.temp.file("Ravelo.ini"));
    }
}

// Every case starts from the same record, so fields the file does not reach keep its values.
ReaderSettings before_loading() {
    return {"before", "before.txt", 4, 3, 2, 0, 0, 0, 0, 0, 1, 7};
}

const std::string kLines = "dir\r\nname\r\n";

struct ParseCase {
    const char* title;
    std::string bytes;
    ReaderSettings expected;  // fields the file does not reach keep before_loading's values
};

TEST(ReaderSettingsFile, ParsesMalformedFilesWithoutHarm) {
    const std::string nine_digits = "9\r\n5\r\n4\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n";
    const ParseCase cases[] = {
        {"empty file", "", {"", "before.txt", 4, 3, 2, 0, 0, 0, 0, 0, 1, 7}},
        {"one line", "D:\\out", {"D:\\out", "before.txt", 4, 3, 2, 0, 0, 0, 0, 0, 1, 7}},
        {"CR without LF ends a line too",
         "D:\\out\rname\r\n2",
         {"D:\\out", "name", 1, 3, 2, 0, 0, 0, 0, 0, 1, 2}},
        {"mixed line ends, an empty digit line",
         "dir\nname\r\n\n2\r\r\n",
         {"dir", "name", 4, 1, 2, 0, 0, 0, 0, 0, 1, 2}},
        {"line 2 without CR LF", "dir\r\nname", {"dir", "name", 4, 3, 2, 0, 0, 0, 0, 0, 1, 2}},
        {"short file", kLines + "3\r\n2", {"dir", "name", 2, 1, 2, 0, 0, 0, 0, 0, 1, 2}},
        {"digits out of range keep the fields",
         kLines + "0\r\n6\r\n5\r\n2\r\n1\r\n/\r\n1\r\n9\r\n0\r\n15",
         {"dir", "name", 4, 3, 2, 0, 1, 0, 1, 0, 0, 15}},
        {"letters where digits belong",
         kLines + "A\r\n:\r\n\xFF\r\n",
         {"dir", "name", 4, 3, 2, 0, 0, 0, 0, 0, 1, 2}},
        {"long lines and trailing bytes are cut to the layout",
         std::string(300, 'd') + "\r\n" + std::string(400, 'n') + "\r\n" + nine_digits + "30\r\n" +
             std::string(1 << 20, 'z'),
         {std::string(255, 'd'), std::string(255, 'n'), 8, 4, 3, 1, 1, 1, 1, 1, 1, 30}},
    };
    for (const ParseCase& c : cases) {
        ReaderSettings loaded = before_loading();
        ravelo::parse_settings_file(c.bytes, loaded);
        EXPECT_EQ(loaded, c.expected) << c.title;
    }
}

TEST(ReaderSettingsFile, ClampsTheInterval) {
    const std::string digits = kLines + "1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n0\r\n";
    const std::pair<std::string, int> cases[] = {
        {"30", 30},
        {"0", 2},
        {"", 2},
        {"abc", 2},
        {"-5", 2},
        {"1", 1},
        {"9999", 9999},
        {"10000", 9999},
        {" 45", 45},
        {"+12x", 12},
        {"99999999999999999999999", 9999},
    };
    for (const auto& [text, expected] : cases) {
        ReaderSettings loaded = before_loading();
        ravelo::parse_settings_file(digits + text, loaded);
        EXPECT_EQ(loaded.poll_interval, expected) << '"' << text << '"';
    }
}

TEST(ReaderSettingsFile, HugeFileWithoutLineEndsLoadsAsADirectoryOf255Bytes) {
    const ReaderSettings loaded = loaded_from(std::string(3 << 20, '\x9A'));  // "š"
    std::string expected;
    for (int i = 0; i < 255; ++i) expected += "š";
    EXPECT_EQ(loaded.directory, expected);
    EXPECT_EQ(loaded.file_name, "");
}

// The command-line settings string: positions, resets, clamps and when the dialog is skipped.
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
        EXPECT_EQ(f.ui.messages, testing_support::reader_error(ravelo::kCommandLineTooLong));
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

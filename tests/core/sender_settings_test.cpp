// "Lumbra.ini", the command-line tail and the port dialog: what each leaves in the settings.
#include <gtest/gtest.h>

#include "platform/paths.h"
#include "sender/command_line.h"
#include "sender/port_dialog_rules.h"
#include "sender/settings_file.h"
#include "tests/support/settings_print.h"

namespace {

using lumbra::SenderSettings;

// Fields in the record's order: lookup path, directory, file name, port, speed, command line.
SenderSettings from_file(const std::string& directory, const std::string& name, int port,
                         int baud) {
    return {"", directory, name, port, baud, false};
}

TEST(SenderSettingsFile, ParsesWhatItCanAndKeepsDefaultsForTheRest) {
    const std::string long_dir(300, 'd');
    const struct {
        const char* name;
        std::string bytes;
        SenderSettings expected;
    } cases[] = {
        {"as written", "C:\\Data\r\nlist.txt\r\n2\r\n5\r\n",
         from_file("C:\\Data", "list.txt", 1, 4)},
        {"no line end: all is the directory", "C:\\Data x", from_file("C:\\Data x", "", 0, 0)},
        {"LF line ends", "C:\\Data\nlist.txt\n2\n5\n", from_file("C:\\Data", "list.txt", 1, 4)},
        {"CR line ends", "C:\\Data\rlist.txt\r2\r5\r", from_file("C:\\Data", "list.txt", 1, 4)},
        {"two lines keep port and speed", "C:\\Data\r\nlist.txt\r\n",
         from_file("C:\\Data", "list.txt", 0, 0)},
        {"unended second line is the rest", "C:\\Data\r\nlist.txt",
         from_file("C:\\Data", "list.txt", 0, 0)},
        {"port only", "d\r\nn\r\n3", from_file("d", "n", 2, 0)},
        {"out of range keeps the defaults", "d\r\nn\r\n7\r\n0\r\n", from_file("d", "n", 0, 0)},
        {"code page 1250", "C:\\P\xF8\xEDjem\r\n\xE8\xED\xF8.txt\r\n1\r\n1\r\n",
         from_file("C:\\Příjem", "číř.txt", 0, 0)},
        {"text capped at 255 bytes", long_dir + "\r\nn\r\n6\r\n1\r\n",
         from_file(std::string(255, 'd'), "n", 5, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SenderSettings s;
        lumbra::parse_settings_file(c.bytes, s);
        EXPECT_EQ(s, c.expected);
    }
}

TEST(SenderSettingsFile, WritesFourLinesEachEndedByCrLf) {
    const SenderSettings s{"", "C:\\Příjem", "list.txt", 1, 4, false};
    const std::string directory =
        platform::settings_files_are_utf8() ? "C:\\Příjem" : "C:\\P\xF8\xEDjem";
    EXPECT_EQ(lumbra::format_settings_file(s), directory + "\r\nlist.txt\r\n2\r\n5\r\n");
}

// A cut path names another file: a path over 299 characters is refused whole.
TEST(SenderCommandLine, PathVerbatimThenPortAndSpeedDigitsAtFixedPlaces) {
    const std::string long_path = "/" + std::string(400, 'p');
    std::string czech_path;
    for (int i = 0; i < 299; ++i) czech_path += "ř";
    // Quotes are taken off only where no file name can hold one.
    const bool quotes_kept = platform::double_quote_is_name_character();
    const struct {
        std::string tail;
        bool command_line;
        std::string path;
        int port;
        int baud;
        bool refused = false;
    } cases[] = {
        {"", false, "", 0, 0},
        {",2,5", false, "", 0, 0},
        {"C:\\Data\\list.txt", true, "C:\\Data\\list.txt", 0, 0},
        {"C:\\Data\\list.txt,2,5", true, "C:\\Data\\list.txt", 1, 4},
        {"C:\\Data\\list.txt,2", true, "C:\\Data\\list.txt", 1, 0},
        {"C:\\Data\\list.txt,7,3", true, "C:\\Data\\list.txt", 0, 2},
        {"C:\\Data\\list.txt,0;3", true, "C:\\Data\\list.txt", 0, 2},
        {"C:\\Data\\list.txt,63", true, "C:\\Data\\list.txt", 5, 0},
        {"C:\\Data\\list.txt,2,6", true, "C:\\Data\\list.txt", 1, 0},
        {"\"C:\\My Data\\list.txt\" ,2,5", true,
         quotes_kept ? "\"C:\\My Data\\list.txt\" " : "C:\\My Data\\list.txt", 1, 4},
        {long_path + ",2,2", false, "", 0, 0, true},
        {std::string(400, '\x80'), false, "", 0, 0, true},
        {czech_path + ",2", true, czech_path, 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tail);
        SenderSettings s;
        EXPECT_EQ(lumbra::apply_command_line(s, c.tail), !c.refused);
        EXPECT_EQ(s, (SenderSettings{c.path, "", "", c.port, c.baud, c.command_line}));
    }
}

// The port dialog's rules: the lists and their opening selection, OK's take-over.
TEST(PortDialogRules, ListsInOrderWithTheSettingsSelectedIfTheyAreInThem) {
    const struct {
        int port_index, baud_index;
        int port, baud;  // selected
    } cases[] = {{5, 4, 5, 4}, {-1, -1, -1, -1}, {6, 5, -1, -1}, {9, 9, -1, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.port_index);
        SenderSettings s;
        s.port_index = c.port_index;
        s.baud_index = c.baud_index;
        const lumbra::PortDialogView v = lumbra::open_port_dialog(s);
        EXPECT_EQ(v.ports,
                  (std::vector<std::string>{"COM1", "COM2", "COM3", "COM4", "COM5", "COM6"}));
        EXPECT_EQ(v.bauds, (std::vector<std::string>{"115200", "57600", "38400", "19200", "9600"}));
        EXPECT_EQ(v.port, c.port);
        EXPECT_EQ(v.baud, c.baud);
    }
}

TEST(PortDialogRules, OkTakesOverEachSelectedEntry) {
    struct Case {
        int port_selected, baud_selected;
        int port, baud;  // the settings afterwards, from 2 and 3
    };
    const Case cases[] = {
        {0, 0, 0, 0}, {5, 4, 5, 4}, {-1, 1, 2, 1}, {1, -1, 1, 3}, {6, 5, 2, 3}, {-1, -1, 2, 3},
    };
    for (const Case& c : cases) {
        // lookup path, directory, file name, port, speed, command line
        SenderSettings s{"", "", "", 2, 3, false};
        lumbra::accept_port_dialog(s, c.port_selected, c.baud_selected);
        EXPECT_EQ(s, (SenderSettings{"", "", "", c.port, c.baud, false}))
            << c.port_selected << "," << c.baud_selected;
    }
}

}  // namespace

// The properties dialog's rules: lists and enabling by the online switch, interval edit, OK,
// browse.
#include <gtest/gtest.h>

#include <string>

#include "platform/paths.h"
#include "reader/properties_rules.h"
#include "tests/support/settings_print.h"

namespace ravelo {
namespace {

std::string label_of(const PropertiesView& view) {
    if (view.file_mode < 0) return "(none)";
    return file_mode_labels(view.online).at(static_cast<std::size_t>(view.file_mode));
}

std::string sep() {
    return std::string(1, platform::path_separator());
}

// OK pressed: the settings take the view, and the output path they make is returned.
std::string ok(ReaderSettings& s, const PropertiesView& v) {
    std::string path;
    accept_properties(s, path, v);
    return path;
}

// Online shows the online list and hides "show received"; offline disables the interval.
TEST(PropertiesOpen, TheOnlineSwitchDecidesListAndEnabling) {
    EXPECT_EQ(file_mode_labels(true), (std::vector<std::string>{"Auto", "Přidat", "Přepsat"}));
    const struct {
        int online, show_received;
        int file_mode;  // the settings' mode after opening, from 3
        bool shown;
    } cases[] = {{1, 1, 0, false}, {0, 0, 3, false}, {0, 1, 3, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.online * 10 + c.show_received);
        ReaderSettings s;
        s.online = c.online;
        s.file_mode = 3;
        s.show_received = c.show_received;
        s.poll_interval = 45;
        PropertiesView v = open_properties(s);
        EXPECT_EQ(s.file_mode, c.file_mode);
        EXPECT_EQ(label_of(v), "Auto");
        EXPECT_EQ(v.show_received, c.shown);
        EXPECT_EQ(v.interval, "45");
        EXPECT_EQ(show_received_enabled(v.online), c.online == 0);
        EXPECT_EQ(interval_enabled(v.online), c.online == 1);
    }
}

TEST(PropertiesOnlineSwitch, LabelFollowsTheIndexBothWaysTwice) {
    struct Case {
        int mode;
        const char* offline;
        const char* online;
        const char* back;
    };
    const Case cases[] = {{0, "Přepsat", "Auto", "Přepsat"},
                          {1, "Přidat", "Přidat", "Přidat"},
                          {2, "Nové jméno", "Přepsat", "Nové jméno"},
                          {3, "Auto", "Auto", "Přepsat"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        ReaderSettings s;
        s.file_mode = c.mode;
        PropertiesView v = open_properties(s);
        EXPECT_EQ(label_of(v), c.offline);
        switch_online(s, v);
        EXPECT_EQ(s.online, 1);
        EXPECT_EQ(label_of(v), c.online);
        switch_online(s, v);
        EXPECT_EQ(s.online, 0);
        EXPECT_EQ(label_of(v), c.back);
        switch_online(s, v);
        switch_online(s, v);
        EXPECT_EQ(label_of(v), c.back);
    }
}

TEST(PropertiesOnlineSwitch, ShowReceivedBoxIsClearedByAnOnlineRoundTrip) {
    ReaderSettings s;
    s.show_received = 1;
    PropertiesView v = open_properties(s);
    ASSERT_TRUE(v.show_received);
    switch_online(s, v);
    EXPECT_FALSE(v.show_received);
    switch_online(s, v);
    EXPECT_FALSE(v.show_received);
    EXPECT_TRUE(show_received_enabled(v.online));
}

TEST(PropertiesIntervalEdit, ReplacesWhatIsNotAnIntervalWithTheLastValidOne) {
    struct Case {
        const char* typed;
        const char* shown;  // what the edit holds once it settles
        int interval;
    };
    const Case cases[] = {
        {"0", "7", 7},           {"00", "7", 7},
        {"12345", "9999", 9999}, {"99999999999999", "9999", 9999},
        {"abc", "7", 7},         {"-5", "7", 7},
        {"12a", "7", 7},         {"", "", 7},
        {"1", "1", 1},           {"9999", "9999", 9999},
        {"30", "30", 30},        {" 42", " 42", 42},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        ReaderSettings s;
        s.poll_interval = 7;
        EXPECT_EQ(settle_interval_text(s, c.typed), c.shown);
        EXPECT_EQ(s.poll_interval, c.interval);
    }
}

TEST(PropertiesIntervalEdit, EmptiedEditKeepsTheLastValidValueAtOk) {
    ReaderSettings s;
    PropertiesView v = open_properties(s);
    switch_online(s, v);
    v.interval = settle_interval_text(s, "15");
    v.interval = settle_interval_text(s, "");
    EXPECT_EQ(v.interval, "");
    ok(s, v);
    EXPECT_EQ(s.poll_interval, 15);
}

TEST(PropertiesOk, ReadsEveryControlBack) {
    ReaderSettings s;
    PropertiesView v = open_properties(s);
    // directory, name, interval, port, speed, mode, CR, LF, errors, received, always ask, online
    v = {"data", "out.txt", v.interval, 8, 4, 2, false, true, false, false, false, v.online};
    EXPECT_EQ(ok(s, v), "data" + sep() + "out.txt");
    // directory, name, port, speed, mode, CR, LF, errors, received, always ask, online, interval
    EXPECT_EQ(s, (ReaderSettings{"data", "out.txt", 8, 4, 2, 0, 1, 0, 0, 0, 0, 2}));
}

TEST(PropertiesOk, OnlineStoresShowReceivedOff) {
    ReaderSettings s;
    PropertiesView v = open_properties(s);
    switch_online(s, v);
    v.show_received = true;  // even if a toolkit left the mark on
    ok(s, v);
    EXPECT_EQ(s.show_received, 0);
    EXPECT_EQ(s.online, 1);
}

// A trailing separator gives the same output path; empty fields are not validated.
TEST(PropertiesOk, TheOutputPathJoinsDirectoryAndName) {
    const std::string in = "base" + sep() + "in";
    const struct {
        const char* name;
        std::string directory;
        std::string file_name;
        std::string path;
    } cases[] = {
        {"no trailing separator", in, "a.txt", in + sep() + "a.txt"},
        {"trailing separator", in + sep(), "a.txt", in + sep() + "a.txt"},
        {"empty directory", "", "x.txt", "x.txt"},
        {"empty name", "d", "", "d" + sep()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReaderSettings s;
        PropertiesView v = open_properties(s);
        v.directory = c.directory;
        v.file_name = c.file_name;
        EXPECT_EQ(ok(s, v), c.path);
    }
}

TEST(PropertiesOk, LongTextsAreCutByCharacters) {
    std::string czech_name;
    for (int i = 0; i < 70; ++i) czech_name += "č";
    ReaderSettings s;
    PropertiesView v = open_properties(s);
    v.directory = std::string(300, 'd');
    v.file_name = czech_name;
    ok(s, v);
    EXPECT_EQ(s.directory, std::string(254, 'd'));
    EXPECT_EQ(s.file_name, czech_name.substr(0, 61 * 2));
    v.file_name = std::string(61, 'n');
    ok(s, v);
    EXPECT_EQ(s.file_name, v.file_name);
}

TEST(PropertiesOk, IndexOutsideItsListIsShownAsNoneAndStoredAsFirst) {
    ReaderSettings s{"", "", 12, 7, 6};  // port, speed and mode beyond their lists
    PropertiesView v = open_properties(s);
    EXPECT_EQ(v.port, -1);
    EXPECT_EQ(v.baud, -1);
    EXPECT_EQ(v.file_mode, -1);
    ok(s, v);
    EXPECT_EQ(s, ReaderSettings{});
}

TEST(PropertiesBrowse, SplitsTheChosenPath) {
    struct Case {
        std::string chosen;
        std::string directory;
        std::string name;
    };
    const std::string s_ = sep();
    std::vector<Case> cases = {
        {"data" + s_ + "sub" + s_ + "out.txt", "data" + s_ + "sub", "out.txt"},
        {s_ + "out.txt", s_, "out.txt"},  // the root keeps its separator
        {"out.txt", "", "out.txt"},       // no separator at all
    };
    // Drive letters are a Windows matter: a drive's root keeps the drive alone.
    if (platform::path_separator() == '\\') cases.push_back({"C:\\out.txt", "C:", "out.txt"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen);
        ReaderSettings s;
        s.directory = "old";
        std::string path;
        apply_browsed_path(s, path, c.chosen);
        EXPECT_EQ(path, c.chosen);
        EXPECT_EQ(s.directory, c.directory);
        EXPECT_EQ(s.file_name, c.name);
        PropertiesView v = open_properties(s);
        accept_properties(s, path, v);
        EXPECT_EQ(path, c.chosen);  // OK puts the separator back
    }
}

}  // namespace
}  // namespace ravelo

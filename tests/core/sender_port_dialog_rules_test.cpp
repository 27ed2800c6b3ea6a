// The port dialog's rules: the lists and their opening selection, OK's take-over.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sender/port_dialog_rules.h"
#include "tests/support/settings_print.h"

namespace lumbra {
namespace {

TEST(PortDialogRules, ListsInOrderWithTheSettingsSelected) {
    SenderSettings s;
    s.port_index = 5;
    s.baud_index = 4;
    const PortDialogView v = open_port_dialog(s);
    EXPECT_EQ(v.ports, (std::vector<std::string>{"COM1", "COM2", "COM3", "COM4", "COM5", "COM6"}));
    EXPECT_EQ(v.bauds, (std::vector<std::string>{"115200", "57600", "38400", "19200", "9600"}));
    EXPECT_EQ(v.port, 5);
    EXPECT_EQ(v.baud, 4);
    EXPECT_EQ(v.ports[5], "COM6");
    EXPECT_EQ(v.bauds[4], "9600");
}

TEST(PortDialogRules, SettingsBeyondTheListsSelectNothing) {
    SenderSettings s;
    for (int bad : {-1, 6, 9}) {
        s.port_index = bad;
        s.baud_index = bad == 6 ? 5 : bad;
        const PortDialogView v = open_port_dialog(s);
        EXPECT_EQ(v.port, -1) << bad;
        EXPECT_EQ(v.baud, -1) << bad;
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
        accept_port_dialog(s, c.port_selected, c.baud_selected);
        EXPECT_EQ(s, (SenderSettings{"", "", "", c.port, c.baud, false}))
            << c.port_selected << "," << c.baud_selected;
    }
}

}  // namespace
}  // namespace lumbra

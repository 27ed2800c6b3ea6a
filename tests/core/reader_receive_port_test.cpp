// Opening the reader's port: its name, queues and speed, and the two ways it fails.
#include <gtest/gtest.h>

#include "reader/serial_port.h"
#include "tests/support/receive_rig.h"

namespace {

using testing_support::ReceiveRig;
using testing_support::ShownMessage;

TEST(ReaderPort, OpensTheChosenPortAtTheChosenSpeed) {
    const std::uint32_t speeds[] = {115200, 57600, 38400, 19200, 9600};
    for (int baud_index = 0; baud_index < 5; ++baud_index) {
        for (int port_index : {0, 3, 8}) {
            ReceiveRig rig;
            const std::string name = "COM" + std::to_string(port_index + 1);
            rig.ports.set_available_port(name);
            rig.reader.settings.port_index = port_index;
            rig.reader.settings.baud_index = baud_index;
            ASSERT_EQ(ravelo::open_serial_port(rig.reader), common::LineOpen::opened);
            const simline::SimulatedLine* line = rig.ports.current_line();
            ASSERT_NE(line, nullptr);
            EXPECT_EQ(rig.reader.port.get(), line);
            EXPECT_EQ(rig.ports.opened_ports(), std::vector<std::string>{name});
            EXPECT_EQ(line->baud(), speeds[baud_index]);
            EXPECT_EQ(line->in_queue(), 256u);
            EXPECT_EQ(line->out_queue(), 256u);
            EXPECT_TRUE(rig.ui.messages.empty());
        }
    }
}

TEST(ReaderPort, PortThatCannotBeOpenedIsReportedWhenErrorsAreShown) {
    for (int show_errors : {1, 0}) {
        ReceiveRig rig;
        rig.ports.set_available_port("COM2");
        rig.reader.settings.show_errors = show_errors;
        EXPECT_EQ(ravelo::open_serial_port(rig.reader), common::LineOpen::cannot_open);
        EXPECT_EQ(rig.reader.port, nullptr);
        const std::vector<ShownMessage> expected =
            show_errors
                ? std::vector<ShownMessage>{{"Chyba", "Nepodařilo se otevřít COM port", false}}
                : std::vector<ShownMessage>{};
        EXPECT_EQ(rig.ui.messages, expected);
    }
}

TEST(ReaderPort, RefusedLineSettingsCloseThePortSilently) {
    ReceiveRig rig;
    rig.ports.refuse_configuration(true);
    EXPECT_EQ(ravelo::open_serial_port(rig.reader), common::LineOpen::refused);
    EXPECT_EQ(rig.reader.port, nullptr);
    EXPECT_EQ(rig.ports.current_line(), nullptr) << "the port must be closed again";
    EXPECT_TRUE(rig.ui.messages.empty());
}

TEST(ReaderPort, SpeedIndexOutsideTheListIsRefusedNotReadPastTheList) {
    for (int baud_index : {-1, 5, 99}) {
        ReceiveRig rig;
        rig.reader.settings.baud_index = baud_index;
        EXPECT_EQ(ravelo::open_serial_port(rig.reader), common::LineOpen::refused);
        EXPECT_EQ(rig.ports.current_line(), nullptr);
    }
}

}  // namespace

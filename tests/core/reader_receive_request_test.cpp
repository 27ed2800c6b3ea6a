// Opening the port (its name, queues and speed, and the two ways it fails), then the request
// phase on the wire: how often and when "READ\r" goes out, and how it ends.
#include <gtest/gtest.h>

#include "reader/reader_messages.h"
#include "reader/serial_port.h"
#include "tests/support/receive_rig.h"

namespace {

using namespace testing_support;

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
            show_errors ? reader_error("Nepodařilo se otevřít COM port")
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

struct SilentCase {
    const char* name;
    int online;
    int show_errors;
    int requests;
    std::uint64_t gap_ms;
    std::vector<ShownMessage> messages;
};

TEST(ReaderRequest, SilentTerminalGetsItsRequestsAtTheLimitThenTheReaderGivesUp) {
    const SilentCase cases[] = {
        {"offline", 0, 1, 4, 2000, {{"Chyba", "Čas vypršel!", false}}},
        {"offline, quiet", 0, 0, 4, 2000, {}},
        {"online", 1, 1, 5, 500, {}},
    };
    for (const SilentCase& c : cases) {
        SCOPED_TRACE(c.name);
        ReceiveRig rig;
        rig.reader.settings.online = c.online;
        rig.reader.settings.show_errors = c.show_errors;
        EXPECT_EQ(rig.receive(), 0);
        EXPECT_EQ(rig.written(), repeated("READ\r", c.requests, 0, c.gap_ms));
        EXPECT_EQ(rig.clock.now(), c.requests * c.gap_ms);
        EXPECT_EQ(rig.ui.messages, c.messages);
        EXPECT_FALSE(rig.file_exists()) << "no answer must not create or truncate the file";
        EXPECT_TRUE(rig.ui.screen.calls.empty());
    }
}

TEST(ReaderRequest, WrongAnswersGetSixRequestsThenNoConnection) {
    for (int online : {0, 1}) {
        SCOPED_TRACE(online);
        ReceiveRig rig;
        rig.reader.settings.online = online;
        for (int i = 0; i < 6; ++i) rig.peer.expect("READ\r").send("ack\r", 10);
        EXPECT_EQ(rig.receive(), 0);
        EXPECT_EQ(rig.written(), repeated("READ\r", 6, 0, 10));
        EXPECT_EQ(rig.ui.messages, reader_error("Nepodařilo se navázat spojení!"));
        EXPECT_FALSE(rig.file_exists());
    }
}

TEST(ReaderRequest, AnswerCompleteOneMillisecondBeforeTheLimitIsTaken) {
    ReceiveRig rig;
    rig.peer.expect("READ\r").send("ACK\r", 1999).send("OVER\r", 5);
    EXPECT_EQ(rig.receive(), 0);
    EXPECT_EQ(rig.written(), (std::vector<Heard>{{0, "READ\r"}}));
    EXPECT_TRUE(rig.file_exists());
    EXPECT_EQ(rig.file_content(), "");
    EXPECT_TRUE(rig.peer.mismatches().empty());
}

// At the limit the first byte is polled, the time has passed, and "A" is taken as the answer;
// the rest of the late answer ("CK\r") then counts as a second wrong answer.
TEST(ReaderRequest, AnswerArrivingAtTheLimitIsTooLate) {
    ReceiveRig rig;
    rig.peer.expect("READ\r").send("ACK\r", 2000);
    EXPECT_EQ(rig.receive(), 0);
    EXPECT_EQ(
        rig.written(),
        (std::vector<Heard>{{0, "READ\r"}, {2000, "READ\r"}, {2000, "READ\r"}, {4000, "READ\r"}}));
    EXPECT_EQ(rig.clock.now(), 6000u);
    EXPECT_FALSE(rig.file_exists());
}

struct AnswerCase {
    const char* answer;
    std::vector<Heard> requests;  // up to the answer "ACK\r" that follows every wrong one
};

TEST(ReaderRequest, OnlyTheFirstTenBytesOfAnAnswerAreKept) {
    const AnswerCase cases[] = {
        // Ten bytes end in CR: a complete wrong answer, asked again at once.
        {"XXXXXXACK\r", {{0, "READ\r"}, {10, "READ\r"}}},
        // The CR is the eleventh byte and is dropped: the answer never completes.
        {"XXXXXXXACK\r", {{0, "READ\r"}, {2000, "READ\r"}}},
        {"ACK \r", {{0, "READ\r"}, {10, "READ\r"}}},
    };
    for (const AnswerCase& c : cases) {
        SCOPED_TRACE(c.answer);
        ReceiveRig rig;
        rig.peer.expect("READ\r")
            .send(c.answer, 10)
            .expect("READ\r")
            .send("ACK\r", 1)
            .send("OVER\r");
        EXPECT_EQ(rig.receive(), 0);
        EXPECT_EQ(rig.written(), c.requests);
        EXPECT_TRUE(rig.ui.messages.empty());
        EXPECT_TRUE(rig.file_exists());
    }
}

// What a stopped transfer left on the line is neither the answer nor a record of this one.
TEST(ReaderRequest, BytesLeftOnTheLineBeforeTheRequestAreDiscarded) {
    ReceiveRig rig;
    rig.peer.send("ACK\r" + testing_support::make_record(0, "old"))
        .expect("READ\r")
        .send("ACK\r", 1)
        .send(testing_support::make_record(0, "new"))
        .expect("ACK\r")
        .send("OVER\r", 1);
    EXPECT_EQ(rig.receive(), 1);
    EXPECT_EQ(rig.file_content(), "new\r\n");
}

TEST(ReaderRequest, WriteTimeLimitsAreSetBeforeTheFirstRequest) {
    ReceiveRig rig;
    platform::WriteLimit seen{0, 0};
    rig.peer.expect("READ\r").then([&] { seen = rig.ports.current_line()->write_timeouts(); });
    rig.receive();
    EXPECT_EQ(seen.per_byte_ms, 5u);
    EXPECT_EQ(seen.constant_ms, 50u);
}

}  // namespace

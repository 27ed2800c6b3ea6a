// The request phase on the wire: how often and when "READ\r" goes out, and how it ends.
#include <gtest/gtest.h>

#include "reader/reader_messages.h"
#include "tests/support/receive_rig.h"

namespace {

using testing_support::Heard;
using testing_support::ReceiveRig;
using testing_support::repeated;
using testing_support::ShownMessage;

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
        EXPECT_EQ(rig.ui.messages,
                  (std::vector<ShownMessage>{{"Chyba", "Nepodařilo se navázat spojení!", false}}));
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

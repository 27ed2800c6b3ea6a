// The record phase on the wire (what is stored, what is acknowledged or rejected, and when), and
// whole batches from the simulated terminal.
#include <gtest/gtest.h>

#include <cerrno>

#include "platform/file_failure.h"
#include "platform/paths.h"
#include "reader/reader_messages.h"
#include "reader/receive_records.h"
#include "reader/serial_port.h"
#include "tests/support/receive_rig.h"
#include "tools/velmora-sim/record_source.h"

namespace {

using namespace testing_support;
using Texts = std::vector<std::string>;

// "READ\r" answered with "ACK\r" at 5 ms; the record phase's first wait starts then.
ScriptedPeer& handshake(ReceiveRig& rig) {
    return rig.peer.expect("READ\r").send("ACK\r", 5);
}

std::vector<std::string> written_texts(const ReceiveRig& rig) {
    std::vector<std::string> out;
    for (const Heard& h : rig.written()) out.push_back(h.bytes);
    return out;
}

struct FlagCase {
    int append_cr;
    int append_lf;
    const char* line_end;
};

TEST(ReaderRecords, BatchIsStoredWithTheLineEndsTheFlagsAskFor) {
    const std::string data[] = {"abc", bytes_of({0x00, 0x0A, 0xFF, 0x0E}), "x"};
    for (const FlagCase& c :
         {FlagCase{1, 1, "\r\n"}, FlagCase{1, 0, "\r"}, FlagCase{0, 1, "\n"}, FlagCase{0, 0, ""}}) {
        SCOPED_TRACE(c.append_cr * 10 + c.append_lf);
        ReceiveRig rig;
        rig.reader.settings.append_cr = c.append_cr;
        rig.reader.settings.append_lf = c.append_lf;
        ScriptedPeer& peer = handshake(rig);
        for (int i = 0; i < 3; ++i) peer.send(make_record(i, data[i]), 20).expect("ACK\r");
        peer.send("OVER\r", 20);
        EXPECT_EQ(rig.receive(), 3);
        EXPECT_EQ(rig.reader.stored_records, 3);
        EXPECT_EQ(rig.written(),
                  (std::vector<Heard>{{0, "READ\r"}, {25, "ACK\r"}, {45, "ACK\r"}, {65, "ACK\r"}}));
        EXPECT_EQ(rig.file_content(),
                  data[0] + c.line_end + data[1] + c.line_end + data[2] + c.line_end);
        EXPECT_TRUE(rig.ui.messages.empty());
    }
}

TEST(ReaderRecords, AcknowledgementFollowsTheWrite) {
    ReceiveRig rig;
    std::uint64_t size_at_ack = 0;
    handshake(rig).send(make_record(0, "hello"), 1).expect("ACK\r").then([&] {
        size_at_ack = rig.reader.output.size();
    });
    rig.peer.send("OVER\r");
    EXPECT_EQ(rig.receive(), 1);
    EXPECT_EQ(size_at_ack, 7u);
}

TEST(ReaderRecords, ChecksumByteEqualToCarriageReturnTravelsAsOneMore) {
    const std::string sum_low_0d = bytes_of({0x0C, 0x01});       // sum 0x000D
    const std::string sum_high_0d(16, static_cast<char>(0xD0));  // sum 0x0D00
    ASSERT_EQ(make_record(0, sum_low_0d), bytes_of({0, 0x0C, 0x01, 0x0E, 0x00, 0x0D}));
    for (const std::string& data : {sum_low_0d, sum_high_0d}) {
        ReceiveRig rig;
        handshake(rig).send(make_record(0, data), 1).expect("ACK\r").send("OVER\r");
        EXPECT_EQ(rig.receive(), 1);
        EXPECT_EQ(rig.file_content(), data + "\r\n");
    }
}

struct ExchangeCase {
    const char* name;
    std::vector<std::string> from_terminal;  // each sent 1 ms after the reader's last write
    Texts answers;                           // the reader's writes after "READ\r"
    std::string stored;
};

// Records 0 to 9, each with its digit as data, then the given messages.
std::vector<std::string> ten_then(const std::string& a, const std::string& b) {
    std::vector<std::string> out;
    for (int i = 0; i < 10; ++i) out.push_back(make_record(i, std::to_string(i)));
    out.push_back(a);
    out.push_back(b);
    return out;
}

// Each case ends with "OVER\r"; the wire and the file show what was accepted.
TEST(ReaderRecords, EachMessageGetsItsAnswer) {
    std::string long_record = make_record(0, std::string(251, 'd'));
    long_record.insert(long_record.size() - 1, 45, 'z');  // 300 bytes; a record in its first 255
    const std::string ten_and_a = "0\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\nA\r\n";
    const ExchangeCase cases[] = {
        {"wrong checksum, then sent again",
         Texts{bytes_of({0, 'a', 'b', 0x00, 0x00, 0x0D}), make_record(0, "ab")},
         Texts{"NAK\r", "ACK\r"}, "ab\r\n"},
        {"repeat after a lost acknowledgement",
         Texts{make_record(0, "a"), make_record(0, "a"), make_record(1, "b")},
         Texts{"ACK\r", "ACK\r", "ACK\r"}, "a\r\nb\r\n"},
        {"sequence two ahead", Texts{make_record(0, "a"), make_record(2, "c"), make_record(1, "b")},
         Texts{"ACK\r", "NAK\r", "ACK\r"}, "a\r\nb\r\n"},
        {"sequence wraps after nine", ten_then(make_record(0, "A"), make_record(0, "A")),
         Texts(12, "ACK\r"), ten_and_a},
        {"repeat of nine just after the wrap", ten_then(make_record(9, "9"), make_record(0, "A")),
         Texts(12, "ACK\r"), ten_and_a},
        {"four-byte record", Texts{make_record(0, "")}, Texts{"ACK\r"}, "\r\n"},
        {"too short to be a record", Texts{bytes_of({0, 0x0D}), bytes_of({0, 0, 0x0D})},
         Texts{"NAK\r", "NAK\r"}, ""},
        {"300 bytes, judged on the first 255", Texts{long_record}, Texts{"ACK\r"},
         std::string(251, 'd') + "\r\n"},
        {"300 bytes, checksum over all of them", Texts{make_record(0, std::string(296, 'd'))},
         Texts{"NAK\r"}, ""},
        {"lower-case end marker is no end", Texts{"over\r"}, Texts{"NAK\r"}, ""},
        // Nothing stored yet: nothing can be a repeat, so acknowledging would lose the record.
        {"sequence nine before any record", Texts{make_record(9, "x")}, Texts{"NAK\r"}, ""},
        // A repeat must be intact: a garbled sequence byte must not pass as one.
        {"repeat with a bad checksum",
         Texts{make_record(0, "a"), bytes_of({0, 'a', 0x00, 0x00, 0x0D})}, Texts{"ACK\r", "NAK\r"},
         "a\r\n"},
    };
    for (const ExchangeCase& c : cases) {
        SCOPED_TRACE(c.name);
        ReceiveRig rig;
        ScriptedPeer& peer = handshake(rig);
        for (std::size_t i = 0; i < c.from_terminal.size(); ++i) {
            peer.send(c.from_terminal[i], 1).expect(c.answers[i]);
        }
        peer.send("OVER\r", 1);
        const int stored = static_cast<int>(std::count(c.stored.begin(), c.stored.end(), '\n'));
        EXPECT_EQ(rig.receive(), stored);
        Texts expected{"READ\r"};
        expected.insert(expected.end(), c.answers.begin(), c.answers.end());
        EXPECT_EQ(written_texts(rig), expected);
        EXPECT_EQ(rig.file_content(), c.stored);
        EXPECT_TRUE(rig.peer.script_done());
    }
}

TEST(ReaderRecords, OverRightAfterTheAnswerLeavesAnEmptyFileAndNoBox) {
    ReceiveRig rig;
    handshake(rig).send("OVER\r", 1);
    EXPECT_EQ(rig.receive(), 0);
    EXPECT_TRUE(rig.file_exists());
    EXPECT_EQ(rig.file_content(), "");
    EXPECT_EQ(rig.ui.screen.calls, first_counter_calls());
}

TEST(ReaderRecords, SilentTerminalGetsTenRejectionsThenTheTransferFails) {
    ReceiveRig rig;
    handshake(rig).send(make_record(0, "a"), 1).expect("ACK\r");
    EXPECT_EQ(rig.receive(), -1);
    std::vector<Heard> expected{{0, "READ\r"}, {6, "ACK\r"}};
    const auto naks = repeated("NAK\r", 10, 306, 300);
    expected.insert(expected.end(), naks.begin(), naks.end());
    EXPECT_EQ(rig.written(), expected);
    EXPECT_EQ(rig.clock.now(), 3306u);
    EXPECT_EQ(rig.ui.messages, reader_error("Čas vypršel!"));
    EXPECT_EQ(rig.file_content(), "a\r\n");
    EXPECT_EQ(rig.reader.stored_records, 1);
    EXPECT_EQ(rig.ui.screen.calls.back(), "restore 382,354,642,394");
}

TEST(ReaderRecords, AMessageResetsTheRetries) {
    ReceiveRig rig;
    rig.reader.settings.show_errors = 0;
    handshake(rig)
        .send(make_record(0, "a"), 9 * 300 + 10)
        .expect("ACK\r")
        .send("OVER\r", 10 * 300 + 10);
    EXPECT_EQ(rig.receive(), 1);
    std::vector<Heard> expected{{0, "READ\r"}};
    for (const auto& h : repeated("NAK\r", 9, 305, 300)) expected.push_back(h);
    expected.push_back({2715, "ACK\r"});
    for (const auto& h : repeated("NAK\r", 10, 3015, 300)) expected.push_back(h);
    EXPECT_EQ(rig.written(), expected);
}

// A message is complete only within 300 ms of the wait's start; a late tail is a new message.
TEST(ReaderRecords, SlowMessageIsRejected) {
    ReceiveRig rig;
    const std::string record = make_record(0, "slow");
    handshake(rig)
        .send(record.substr(0, 3), 100)
        .send(record.substr(3), 250)
        .expect("NAK\r")
        .expect("NAK\r")
        .send(record, 1)
        .expect("ACK\r")
        .send("OVER\r");
    EXPECT_EQ(rig.receive(), 1);
    EXPECT_EQ(rig.written(),
              (std::vector<Heard>{{0, "READ\r"}, {305, "NAK\r"}, {355, "NAK\r"}, {356, "ACK\r"}}));
    EXPECT_EQ(rig.file_content(), "slow\r\n");
}

// Append mode reports success for a file it could not open; the first write then fails.
TEST(ReaderRecords, AFileThatCannotBeOpenedOrWrittenEndsTheTransferWithoutAcknowledging) {
    const struct {
        int file_mode;
        const char* message;
    } cases[] = {{ravelo::kAppend, "Nepodařilo se zapsat do souboru!!"},
                 {ravelo::kOverwrite, "Nepodařilo se otevřít/vytvořit soubor!"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        ReceiveRig rig;
        rig.reader.settings.file_mode = c.file_mode;
        rig.reader.output_path =
            platform::join_path(platform::join_path(rig.folder, "missing"), "A.TXT");
        handshake(rig).send(make_record(0, "a"), 1);
        if (c.file_mode == ravelo::kAppend) rig.peer.send("OVER\r", 1);
        EXPECT_EQ(rig.receive(), -1);
        EXPECT_EQ(written_texts(rig), Texts{"READ\r"});
        EXPECT_FALSE(rig.reader.output_open);
        EXPECT_EQ(rig.ui.messages, reader_error(platform::file_failure_message(
                                       c.message, rig.reader.output_path, ENOENT)));
        EXPECT_EQ(rig.reader.stored_records, 0);
        EXPECT_EQ(rig.ui.screen.calls, first_counter_calls());
    }
}

TEST(ReaderRecords, CounterCountsEachStoredRecordOnly) {
    ReceiveRig rig;
    handshake(rig)
        .send(make_record(0, "a"), 1)
        .expect("ACK\r")
        .send(make_record(0, "a"), 1)
        .expect("ACK\r")
        .send(make_record(1, "b"), 1)
        .expect("ACK\r")
        .send("OVER\r");
    EXPECT_EQ(rig.receive(), 2);
    EXPECT_EQ(rig.ui.screen.calls, first_counter_calls({1, 2}));
}

// Against the simulated terminal: whole batches, with the terminal's misbehaviour.
struct FaultCase {
    const char* name;
    sim::SourceFaults faults;
    std::size_t records = 14, size = 30;
};

TEST(ReaderAgainstTerminal, EveryRecordIsStoredOnceWhateverTheTerminalGetsWrong) {
    using F = sim::SourceFaults;
    const FaultCase cases[] = {
        {"none", {}},
        {"bad checksums", faults_with(&F::bad_checksum, {0, 5, 11})},
        {"skipped sequence numbers", faults_with(&F::skip_sequence, {1, 9})},
        {"lost acknowledgements", faults_with(&F::repeat_after_ack, {0, 9, 10})},
        {"oversized records", faults_with(&F::oversize, {3})},
        {"line noise", faults_with(&F::noise, {2, 7})},
        {"pauses under the limit", faults_with(&F::pause_before, {{4, 250}})},
        {"pause over the limit", faults_with(&F::pause_before, {{6, 700}})},
        {"full-size records pass unchanged", {}, 12, 251},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.name);
        sim::SourceConfig config = one_batch(sim::generate_records(c.records, c.size));
        config.faults = c.faults;
        TerminalRig rig(config);
        EXPECT_EQ(rig.receive(), static_cast<int>(c.records));
        EXPECT_EQ(read_bytes(rig.output()), as_lines(config.batches[0]));
        EXPECT_EQ(rig.terminal.acknowledged().size(), c.records);
        EXPECT_TRUE(rig.ui.messages.empty());
    }
}

TEST(ReaderAgainstTerminal, TerminalFallingSilentFailsAfterTenRejections) {
    sim::SourceConfig config = one_batch(sim::generate_records(8, 10));
    config.faults.silent_from = 5;
    TerminalRig rig(config);
    EXPECT_EQ(rig.receive(), -1);
    EXPECT_EQ(read_bytes(rig.output()), as_lines(config.batches[0], 5));
    EXPECT_EQ(rig.written("NAK\r"), 10u);
    EXPECT_EQ(rig.ui.messages.size(), 1u);
}

TEST(ReaderAgainstTerminal, EachTransferStartsAtSequenceZero) {
    sim::SourceConfig config;
    config.batches = {sim::generate_records(13, 8), sim::generate_records(4, 8, 100)};
    TerminalRig rig(config);
    EXPECT_EQ(rig.receive(), 13);
    EXPECT_EQ(rig.receive(), 4);
    EXPECT_EQ(read_bytes(rig.output()), as_lines(config.batches[1]));
    EXPECT_EQ(rig.terminal.batches_done(), 2u);
}

TEST(ReaderAgainstTerminal, TerminalThatNeverSaysAckIsAskedSixTimes) {
    sim::SourceConfig config = one_batch(sim::generate_records(2, 8));
    config.faults.request = sim::SourceFaults::Request::wrong;
    TerminalRig rig(config);
    EXPECT_EQ(rig.receive(), 0);
    EXPECT_EQ(rig.written("READ\r"), 6u);
    EXPECT_FALSE(platform::file_exists(rig.reader.output_path));
}

// An adapter pulled out ends the transfer at once, saying so rather than "Čas vypršel!".
TEST(ReaderAgainstTerminal, PulledOutAdapterFailsAtOnce) {
    const struct {
        std::size_t writes_before;
        int result;
        std::size_t stored;
    } cases[] = {{0, 0, 0}, {1, 0, 0}, {4, -1, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.writes_before);
        sim::SourceConfig config = one_batch(sim::generate_records(6, 10));
        TerminalRig rig(config);
        rig.ports.pull_out_after_writes(c.writes_before);
        EXPECT_EQ(rig.receive(), c.result);
        EXPECT_EQ(read_bytes(rig.output()), as_lines(config.batches[0], c.stored));
        ASSERT_EQ(rig.ui.messages.size(), 1u);
        EXPECT_EQ(rig.ui.messages[0].text, "Port COM1 přestal pracovat!");
        EXPECT_LT(rig.clock.now(), 100u) << "no limit may be slept out";
    }
}

}  // namespace

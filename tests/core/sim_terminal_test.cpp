// The simulated terminal's two roles on a virtual clock, each driven by a hand-written program:
// the record source (bytes and times exact) and the lookup target (answers and kept lines).
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/support/receive_rig.h"
#include "tests/support/temp_dir.h"
#include "tools/simulated-line/simulated_line.h"
#include "tools/velmora-sim/framing.h"
#include "tools/velmora-sim/lookup_target.h"
#include "tools/velmora-sim/record_source.h"

namespace {

using sim::Bytes;

struct Message {
    std::uint64_t time;
    Bytes bytes;
    std::string text() const { return sim::to_text(bytes); }
};

// A minimal program on the line: writes messages, and collects the terminal's up to each CR.
template <typename Peer, typename Config>
class Client {
  public:
    explicit Client(Config config = {}) : peer(std::move(config)), line(clock, peer) {}

    void send(const Bytes& bytes) { line.write(bytes.data(), bytes.size()); }
    void send(const std::string& text) { send(sim::to_bytes(text)); }
    std::optional<Message> receive(std::uint32_t limit_ms = 5000) {
        const std::uint64_t deadline = clock.now() + limit_ms;
        Bytes got;
        for (;;) {
            std::uint8_t b = 0;
            if (line.read(&b, 1) == 1) {
                got.push_back(b);
                if (b == sim::kCr) return Message{clock.now(), got};
                continue;
            }
            if (clock.now() >= deadline ||
                !line.wait_for_input(static_cast<std::uint32_t>(deadline - clock.now()))) {
                return std::nullopt;
            }
        }
    }

    simline::VirtualClock clock;
    Peer peer;
    simline::SimulatedLine line;
};

// A reader: the record source's program.
class Reader : public Client<sim::RecordSource, sim::SourceConfig> {
  public:
    using Client::Client;
    void start() {
        send("READ\r");
        receive();
    }
    // The next message, which must be `bytes`; an empty one at 0 ms when none came.
    Message expect_next(const Bytes& bytes) {
        auto m = receive();
        EXPECT_TRUE(m) << "nothing came";
        if (!m) return {};
        EXPECT_EQ(m->bytes, bytes);
        return *m;
    }
    // The next message, which must be `bytes`, acknowledged.
    Message acknowledge(const Bytes& bytes) {
        const Message m = expect_next(bytes);
        send("ACK\r");
        return m;
    }
    // Reads records, acknowledging each, up to "OVER\r"; returns the data of each.
    std::vector<Bytes> read_batch() {
        std::vector<Bytes> data;
        for (;;) {
            auto m = receive();
            if (!m || m->text() == "OVER\r") return data;
            EXPECT_EQ(m->bytes[0], data.size() % 10);  // numbered from 0 in every batch
            data.emplace_back(m->bytes.begin() + 1, m->bytes.end() - 3);
            send("ACK\r");
        }
    }

    sim::RecordSource& source = peer;
};

sim::SourceConfig config_with(std::size_t count) {
    return testing_support::one_batch(sim::generate_records(count, 10));
}

Bytes record(const sim::SourceConfig& config, std::size_t index) {
    return sim::frame_record(static_cast<std::uint8_t>(index % 10), config.batches[0][index]);
}

TEST(SimRecordSource, ServesABatchWithOneMillisecondReactions) {
    const auto config = config_with(12);
    Reader c(config);
    c.send("READ\r");
    EXPECT_EQ(c.expect_next(sim::kAck).time, 1u);
    for (std::size_t i = 0; i < 12; ++i) {
        SCOPED_TRACE("record " + std::to_string(i));
        EXPECT_EQ(c.acknowledge(record(config, i)).time, 2 + i);  // sequence wraps 9 -> 0
    }
    EXPECT_EQ(c.expect_next(sim::kOver).time, 14u);
    ASSERT_EQ(c.source.acknowledged().size(), 12u);
    EXPECT_EQ(c.source.acknowledged()[11].index, 11u);
    EXPECT_EQ(c.source.batches_done(), 1u);
    EXPECT_TRUE(c.source.quiet());
    ASSERT_EQ(c.source.received().size(), 13u);
    EXPECT_EQ(c.source.received()[0].text, "READ\r");
}

TEST(SimRecordSource, NakOrSilenceBringsTheSameRecordAgain) {
    const auto config = config_with(2);
    Reader c(config);
    c.start();
    const auto first = c.expect_next(record(config, 0));
    c.send("NAK\r");
    const auto after_nak = c.expect_next(record(config, 0));
    EXPECT_EQ(after_nak.time, first.time + 1);
    // No answer at all: the same record again after the full 1000 ms wait, and again.
    const auto resent = c.expect_next(record(config, 0));
    EXPECT_EQ(resent.time, after_nak.time + 1000);
    EXPECT_EQ(c.expect_next(record(config, 0)).time, resent.time + 1000);
    c.send("ACK\r");
    c.expect_next(record(config, 1));
    EXPECT_TRUE(c.source.acknowledged().size() == 1 && c.source.acknowledged()[0].index == 0);
}

TEST(SimRecordSource, ARepeatedAckDoesNotSkipARecord) {
    const auto config = config_with(3);
    Reader c(config);
    c.start();
    c.receive();
    c.send("ACK\rACK\r");
    c.acknowledge(record(config, 1));
    c.expect_next(record(config, 2));
    EXPECT_EQ(c.source.acknowledged().size(), 2u);
}

// Spoils the record at index 2 of four; the reader NAKs it and must then get the clean one.
struct FirstSendFault {
    const char* name;
    void (*apply)(sim::SourceFaults&);
    bool (*spoiled_as_expected)(const Bytes& sent, const Bytes& clean);
};

const FirstSendFault kFirstSendFaults[] = {
    {"bad checksum", [](sim::SourceFaults& f) { f.bad_checksum = {2}; },
     [](const Bytes& sent, const Bytes& clean) {
         return sent.size() == clean.size() && sent[sent.size() - 3] != clean[clean.size() - 3] &&
                Bytes(sent.begin(), sent.end() - 3) == Bytes(clean.begin(), clean.end() - 3) &&
                sent[sent.size() - 3] != sim::kCr;
     }},
    {"skipped sequence", [](sim::SourceFaults& f) { f.skip_sequence = {2}; },
     [](const Bytes& sent, const Bytes& clean) {
         Bytes data(clean.begin() + 1, clean.end() - 3);
         return sent[0] == 3 && sent == sim::frame_record(3, data);
     }},
    {"oversized", [](sim::SourceFaults& f) { f.oversize = {2}; },
     [](const Bytes& sent, const Bytes& clean) {
         return sent.size() == 304 && sent[0] == 2 &&
                std::equal(clean.begin(), clean.end() - 3, sent.begin());
     }},
    {"line noise", [](sim::SourceFaults& f) { f.noise = {2}; },
     [](const Bytes& sent, const Bytes& clean) {
         if (sent.size() != clean.size() + 4) return false;
         for (std::size_t i = 0; i < 4; ++i) {
             if (sent[i] == sim::kCr || sent[i] <= 9) return false;
         }
         return Bytes(sent.begin() + 4, sent.end()) == clean;
     }},
};

TEST(SimRecordSource, FirstSendFaultsSpoilOnlyTheFirstSend) {
    for (const FirstSendFault& fault : kFirstSendFaults) {
        SCOPED_TRACE(fault.name);
        auto config = config_with(4);
        fault.apply(config.faults);
        Reader c(config);
        c.start();
        for (std::size_t i = 0; i < 2; ++i) c.acknowledge(record(config, i));
        auto spoiled = c.receive();
        ASSERT_TRUE(spoiled);
        EXPECT_TRUE(fault.spoiled_as_expected(spoiled->bytes, record(config, 2)));
        for (std::uint8_t b : Bytes(spoiled->bytes.begin(), spoiled->bytes.end() - 1)) {
            EXPECT_NE(b, sim::kCr);
        }
        c.send("NAK\r");
        c.acknowledge(record(config, 2));
        c.expect_next(record(config, 3));
    }
}

TEST(SimRecordSource, PauseDelaysOnlyTheNamedRecord) {
    auto config = config_with(3);
    config.faults.pause_before = {{1, 700}};
    Reader c(config);
    c.start();
    const auto r0 = c.acknowledge(record(config, 0));
    // The reader's own time-out NAK during the pause is not taken as about record 0 or 1.
    ASSERT_FALSE(c.receive(300));
    c.send("NAK\r");
    const auto r1 = c.acknowledge(record(config, 1));
    EXPECT_EQ(r1.time, r0.time + 1 + 700);
    EXPECT_EQ(c.expect_next(record(config, 2)).time, r1.time + 1);
}

TEST(SimRecordSource, RecordRepeatedAfterItsAckIsCountedOnce) {
    auto config = config_with(3);
    config.faults.repeat_after_ack = {1};
    Reader c(config);
    c.start();
    std::vector<Bytes> seen;
    for (;;) {
        auto m = c.receive();
        ASSERT_TRUE(m);
        if (m->text() == "OVER\r") break;
        seen.push_back(m->bytes);
        c.send("ACK\r");
    }
    const std::vector<Bytes> expected{record(config, 0), record(config, 1), record(config, 1),
                                      record(config, 2)};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(c.source.acknowledged().size(), 3u);
}

TEST(SimRecordSource, SilenceFromARecordOnLastsForever) {
    auto config = config_with(4);
    config.faults.silent_from = 2;
    Reader c(config);
    c.start();
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(c.receive());
        c.send("ACK\r");
    }
    for (int i = 0; i < 11; ++i) {
        EXPECT_FALSE(c.receive(300));
        c.send("NAK\r");
    }
    c.send("READ\r");
    EXPECT_FALSE(c.receive(5000));
    EXPECT_FALSE(c.source.next_event_time());
}

TEST(SimRecordSource, RequestFaultsForTheFirstRequestsOnly) {
    struct Case {
        sim::SourceFaults::Request kind;
        std::string wrong;
        std::optional<std::string> first_answer;  // to the first READ, within 2000 ms
        std::uint64_t answer_time;
    } cases[] = {
        {sim::SourceFaults::Request::silent, "", std::nullopt, 0},
        {sim::SourceFaults::Request::wrong, "XYZ", "XYZ\r", 1},
        {sim::SourceFaults::Request::wrong, "NAK", "NAK\r", 1},
        {sim::SourceFaults::Request::late, "", "ACK\r", 1500},
    };
    for (const Case& k : cases) {
        auto config = config_with(1);
        config.faults.request = k.kind;
        config.faults.wrong_answer = k.wrong;
        config.faults.late_ms = 1500;
        config.faults.request_fault_count = 2;
        Reader c(config);
        c.send("READ\r");
        auto first = c.receive(2000);
        ASSERT_EQ(first.has_value(), k.first_answer.has_value());
        if (first) {
            EXPECT_EQ(first->text(), *k.first_answer);
            EXPECT_EQ(first->time, k.answer_time);
            if (k.kind == sim::SourceFaults::Request::late) {
                // The late ACK was real: the batch follows it.
                EXPECT_EQ(c.read_batch().size(), 1u);
                continue;
            }
        }
        c.send("READ\r");
        auto second = c.receive(2000);
        EXPECT_EQ(second.has_value(), k.first_answer.has_value());
        const std::uint64_t third_at = c.clock.now();
        c.send("READ\r");
        auto third = c.receive(2000);
        ASSERT_TRUE(third);
        EXPECT_EQ(third->text(), "ACK\r");
        EXPECT_EQ(third->time, third_at + 1);
    }
}

TEST(SimRecordSource, ARequestWhileTheLateAnswerIsPendingIsNotAnsweredTwice) {
    auto config = config_with(1);
    config.faults.request = sim::SourceFaults::Request::late;
    config.faults.late_ms = 2500;
    Reader c(config);
    c.send("READ\r");
    EXPECT_FALSE(c.receive(2000));
    c.send("READ\r");
    auto ack = c.receive();
    ASSERT_TRUE(ack);
    EXPECT_EQ(ack->time, 2500u);
    EXPECT_EQ(c.read_batch().size(), 1u);
    c.send("READ\r");
    EXPECT_EQ(c.receive()->text(), "ACK\r");
}

TEST(SimRecordSource, EachRequestAfterOverServesTheNextBatch) {
    sim::SourceConfig config;
    config.batches = {sim::generate_records(2, 8, 1), {}, sim::generate_records(1, 8, 3)};
    Reader c(config);
    const std::vector<std::size_t> sizes{2, 0, 1, 0};  // then empty batches
    for (std::size_t b = 0; b < sizes.size(); ++b) {
        c.send("READ\r");
        EXPECT_EQ(c.receive()->text(), "ACK\r");
        const auto data = c.read_batch();
        ASSERT_EQ(data.size(), sizes[b]) << "batch " << b;
        if (b == 2) {
            EXPECT_EQ(data[0], config.batches[2][0]);
        }
    }
    EXPECT_EQ(c.source.batches_done(), 4u);
}

TEST(SimRecordSource, RepeatedBatchesCycleAndFaultsCanTargetOneBatch) {
    auto config = config_with(2);
    config.repeat_batches = true;
    config.faults.only_batch = 1;
    config.faults.bad_checksum = {0};
    Reader c(config);
    for (std::size_t b = 0; b < 3; ++b) {
        c.start();
        auto first = c.receive();
        ASSERT_TRUE(first);
        EXPECT_EQ(first->bytes == record(config, 0), b != 1) << "batch " << b;
        if (b == 1) {
            c.send("NAK\r");
            EXPECT_EQ(c.receive()->bytes, record(config, 0));
        }
        c.send("ACK\r");
        c.acknowledge(record(config, 1));
        EXPECT_EQ(c.receive()->text(), "OVER\r");
    }
}

TEST(SimRecordSource, ARequestInTheMiddleOfABatchStartsItAgain) {
    const auto config = config_with(3);
    Reader c(config);
    c.start();
    c.receive();
    c.send("ACK\r");
    EXPECT_EQ(c.receive()->bytes, record(config, 1));
    c.send("READ\r");
    EXPECT_EQ(c.receive()->text(), "ACK\r");
    EXPECT_EQ(c.read_batch().size(), 3u);
    EXPECT_EQ(c.source.batches_done(), 1u);
}

// A sender: one message out, then the lookup target's answer up to its CR within 3000 ms.
class Sender : public Client<sim::LookupTarget, sim::LookupConfig> {
  public:
    using Client::Client;
    std::optional<Message> exchange(const Bytes& message) {
        send(message);
        return receive(3000);
    }
    std::optional<Message> exchange(const std::string& text) {
        return exchange(sim::to_bytes(text));
    }
    std::optional<Message> send_line(const Bytes& payload) {
        return exchange(sim::frame_lookup_record(payload));
    }
    std::string answer_text(const Bytes& payload) {
        auto a = send_line(payload);
        return a ? a->text() : "(none)";
    }

    sim::LookupTarget& target = peer;
};

const Bytes kAbc{'a', 'b', 'c'};
const Bytes kEscaped{0x06, 0x07};  // its low checksum byte goes out as 0x0E

TEST(SimLookupTarget, KeepsEveryAcknowledgedLineAndHandsThemOverOnOver) {
    Sender c;
    std::vector<sim::LookupTarget::Lines> handed;
    c.target.set_on_load([&](const sim::LookupTarget::Lines& lines) { handed.push_back(lines); });
    auto wake = c.exchange("velmor\r");
    ASSERT_TRUE(wake);
    EXPECT_EQ(wake->text(), "ACK\r");
    EXPECT_EQ(wake->time, 1u);
    for (const Bytes& line : {kAbc, kEscaped, Bytes{}, Bytes{0x00, 0xE9}}) {
        EXPECT_EQ(c.answer_text(line), "ACK\r");
    }
    EXPECT_TRUE(handed.empty());
    auto over = c.exchange("OVER\r");
    ASSERT_TRUE(over);
    EXPECT_EQ(over->text(), "ACK\r");
    const sim::LookupTarget::Lines expected{kAbc, kEscaped, {}, {0x00, 0xE9}};
    ASSERT_EQ(handed.size(), 1u);
    EXPECT_EQ(handed[0], expected);
    EXPECT_EQ(c.target.loads().size(), 1u);
    // Asleep again after the load: a record needs a new wake-up first.
    EXPECT_FALSE(c.send_line(kAbc));
}

TEST(SimLookupTarget, WakeUpAnswers) {
    struct Case {
        const char* name;
        void (*apply)(sim::LookupFaults&);
        std::string wake;
        std::optional<std::string> answer;
    } cases[] = {
        {"first try", [](sim::LookupFaults&) {}, "velmor\r", "ACK\r"},
        {"later tries", [](sim::LookupFaults&) {}, "VELMOR\r", "ACK\r"},
        {"other case", [](sim::LookupFaults&) {}, "Velmor\r", std::nullopt},
        {"lower case ack", [](sim::LookupFaults& f) { f.ack_lowercase = true; }, "VELMOR\r",
         "ack\r"},
        {"asleep", [](sim::LookupFaults& f) { f.asleep = true; }, "velmor\r", std::nullopt},
        {"garbage", [](sim::LookupFaults& f) { f.garbage = true; }, "velmor\r",
         sim::to_text(sim::LookupTarget::kGarbage)},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        sim::LookupConfig config;
        k.apply(config.faults);
        Sender c(config);
        auto a = c.exchange(k.wake);
        ASSERT_EQ(a.has_value(), k.answer.has_value());
        if (a) {
            EXPECT_EQ(a->text(), *k.answer);
        } else {
            EXPECT_EQ(c.clock.now(), 3000u);
        }
    }
}

TEST(SimLookupTarget, BadChecksumIsRefusedAndNotKept) {
    for (bool silent : {false, true}) {
        sim::LookupConfig config;
        config.faults.silent_on_bad_checksum = silent;
        Sender c(config);
        c.exchange("velmor\r");
        auto bad = c.exchange(Bytes{'a', 'b', 'c', 0x26, 0x01, 0x0D});
        EXPECT_EQ(bad ? bad->text() : "(none)", silent ? "(none)" : "NAK\r");
        EXPECT_EQ(c.answer_text(kAbc), "ACK\r");
        EXPECT_EQ(c.target.pending_lines(), sim::LookupTarget::Lines{kAbc});
    }
}

TEST(SimLookupTarget, FullOnceTheLinesWouldExceedTheMemory) {
    sim::LookupConfig config;
    config.memory_bytes = 10;  // "abc" CR LF is 5, "defg" CR LF would make 11
    Sender c(config);
    c.exchange("velmor\r");
    EXPECT_EQ(c.answer_text(kAbc), "ACK\r");
    EXPECT_EQ(c.answer_text({'d', 'e', 'f', 'g'}), "FULL\r");
    EXPECT_EQ(c.answer_text({'d', 'e', 'f'}), "ACK\r");  // exactly 10 fits
    EXPECT_EQ(c.target.pending_lines().size(), 2u);
    // A new attempt starts an empty memory.
    c.exchange("VELMOR\r");
    EXPECT_EQ(c.answer_text({'d', 'e', 'f', 'g'}), "ACK\r");
}

TEST(SimLookupTarget, MissedAndGarbledAcknowledgementsTakeTheRecordOnlyOnce) {
    sim::LookupConfig config;
    config.faults.miss_ack = {{1, 2}};
    config.faults.garbage_at = {2};
    Sender c(config);
    c.exchange("velmor\r");
    EXPECT_EQ(c.answer_text({'0'}), "ACK\r");
    const std::uint64_t before = c.clock.now();
    EXPECT_EQ(c.answer_text({'1'}), "(none)");
    EXPECT_EQ(c.clock.now(), before + 3000);
    EXPECT_EQ(c.answer_text({'1'}), "(none)");
    EXPECT_EQ(c.answer_text({'1'}), "ACK\r");
    EXPECT_EQ(c.answer_text({'2'}), sim::to_text(sim::LookupTarget::kGarbage));
    EXPECT_EQ(c.answer_text({'2'}), "ACK\r");
    c.exchange("OVER\r");
    const sim::LookupTarget::Lines expected{{'0'}, {'1'}, {'2'}};
    ASSERT_EQ(c.target.loads().size(), 1u);
    EXPECT_EQ(c.target.loads()[0], expected);
}

TEST(SimLookupTarget, ANewWakeUpDropsAnUnfinishedLoad) {
    Sender c;
    c.exchange("velmor\r");
    c.send_line({'x'});
    c.send_line({'y'});
    c.exchange("VELMOR\r");
    c.send_line(kAbc);
    c.exchange("OVER\r");
    ASSERT_EQ(c.target.loads().size(), 1u);
    EXPECT_EQ(c.target.loads()[0], sim::LookupTarget::Lines{kAbc});
}

TEST(SimLookupTarget, HandedOverLinesAreWrittenWithCrLf) {
    testing_support::TempDir temp;
    const std::string path = temp.file("lines.txt");
    ASSERT_TRUE(sim::write_lines(path, {kAbc, {}, {0x00, 0xFF}}));
    EXPECT_EQ(testing_support::read_bytes(path), std::string("abc\r\n\r\n\0\xFF\r\n", 11));
}

}  // namespace

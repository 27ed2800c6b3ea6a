// The lookup target on a virtual clock, driven by a hand-written sender: answers and kept lines.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/support/temp_dir.h"
#include "tools/simulated-line/simulated_line.h"
#include "tools/velmora-sim/framing.h"
#include "tools/velmora-sim/lookup_target.h"

namespace {

using sim::Bytes;

struct Answer {
    std::uint64_t time;
    std::string text;
};

// A minimal sender: one message out, then the answer up to its CR within 3000 ms.
class Client {
  public:
    explicit Client(sim::LookupConfig config = {})
        : target(std::move(config)), line(clock, target) {}

    std::optional<Answer> exchange(const Bytes& message) {
        line.write(message.data(), message.size());
        const std::uint64_t deadline = clock.now() + 3000;
        std::string got;
        for (;;) {
            std::uint8_t b = 0;
            if (line.read(&b, 1) == 1) {
                got.push_back(static_cast<char>(b));
                if (b == sim::kCr) return Answer{clock.now(), got};
            } else if (clock.now() >= deadline ||
                       !line.wait_for_input(static_cast<std::uint32_t>(deadline - clock.now()))) {
                return std::nullopt;
            }
        }
    }
    std::optional<Answer> exchange(const std::string& text) {
        return exchange(sim::to_bytes(text));
    }
    std::optional<Answer> send_line(const Bytes& payload) {
        return exchange(sim::frame_lookup_record(payload));
    }
    std::string answer_text(const Bytes& payload) {
        auto a = send_line(payload);
        return a ? a->text : "(none)";
    }

    simline::VirtualClock clock;
    sim::LookupTarget target;
    simline::SimulatedLine line;
};

const Bytes kAbc{'a', 'b', 'c'};
const Bytes kEscaped{0x06, 0x07};  // its low checksum byte goes out as 0x0E

TEST(SimLookupTarget, KeepsEveryAcknowledgedLineAndHandsThemOverOnOver) {
    Client c;
    std::vector<sim::LookupTarget::Lines> handed;
    c.target.set_on_load([&](const sim::LookupTarget::Lines& lines) { handed.push_back(lines); });
    auto wake = c.exchange("velmor\r");
    ASSERT_TRUE(wake);
    EXPECT_EQ(wake->text, "ACK\r");
    EXPECT_EQ(wake->time, 1u);
    for (const Bytes& line : {kAbc, kEscaped, Bytes{}, Bytes{0x00, 0xE9}}) {
        EXPECT_EQ(c.answer_text(line), "ACK\r");
    }
    EXPECT_TRUE(handed.empty());
    auto over = c.exchange("OVER\r");
    ASSERT_TRUE(over);
    EXPECT_EQ(over->text, "ACK\r");
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
        Client c(config);
        auto a = c.exchange(k.wake);
        ASSERT_EQ(a.has_value(), k.answer.has_value());
        if (a) {
            EXPECT_EQ(a->text, *k.answer);
        } else {
            EXPECT_EQ(c.clock.now(), 3000u);
        }
    }
}

TEST(SimLookupTarget, BadChecksumIsRefusedAndNotKept) {
    for (bool silent : {false, true}) {
        sim::LookupConfig config;
        config.faults.silent_on_bad_checksum = silent;
        Client c(config);
        c.exchange("velmor\r");
        auto bad = c.exchange(Bytes{'a', 'b', 'c', 0x26, 0x01, 0x0D});
        EXPECT_EQ(bad ? bad->text : "(none)", silent ? "(none)" : "NAK\r");
        EXPECT_EQ(c.answer_text(kAbc), "ACK\r");
        EXPECT_EQ(c.target.pending_lines(), sim::LookupTarget::Lines{kAbc});
    }
}

TEST(SimLookupTarget, FullOnceTheLinesWouldExceedTheMemory) {
    sim::LookupConfig config;
    config.memory_bytes = 10;  // "abc" CR LF is 5, "defg" CR LF would make 11
    Client c(config);
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
    Client c(config);
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
    Client c;
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

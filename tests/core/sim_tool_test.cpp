// The simulator's pieces: checksums and framing against records worked out by hand, its command
// line (options reach the peers' configurations, mistakes are named), and the replay of a trace
// on a virtual clock; the simulated line that keeps that clock's time exact.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/support/scripted_peer.h"
#include "tools/simulated-line/simulated_line.h"
#include "tools/velmora-sim/framing.h"
#include "tools/velmora-sim/options.h"
#include "tools/velmora-sim/records.h"
#include "tools/velmora-sim/replay.h"
#include "tools/velmora-sim/transcript.h"

namespace {

using sim::Bytes;

TEST(SimFraming, LookupRecordsMatchTheWorkedExamples) {
    struct Case {
        Bytes payload;
        Bytes wire;
    } cases[] = {
        {{'a', 'b', 'c'}, {0x61, 0x62, 0x63, 0x01, 0x26, 0x0D}},
        {{0x06, 0x07}, {0x06, 0x07, 0x00, 0x0E, 0x0D}},  // low byte 0x0D goes out as 0x0E
        {{}, {0x00, 0x00, 0x0D}},
        {{0x00, 0xFF, 0x0E}, {0x00, 0xFF, 0x0E, 0x01, 0x0E, 0x0D}},  // 0x010D: low escaped
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sim::frame_lookup_record(c.payload), c.wire);
        Bytes payload;
        ASSERT_TRUE(sim::check_lookup_record(Bytes(c.wire.begin(), c.wire.end() - 1), &payload));
        EXPECT_EQ(payload, c.payload);
    }
}

TEST(SimFraming, LookupCheckRejectsWrongOrMissingChecksum) {
    Bytes payload;
    EXPECT_FALSE(sim::check_lookup_record({0x61, 0x62, 0x63, 0x26, 0x01}, &payload));  // swapped
    EXPECT_FALSE(sim::check_lookup_record({0x06, 0x07, 0x00, 0x0D}, &payload));  // unescaped CR
    EXPECT_FALSE(sim::check_lookup_record({0x00}, &payload));
}

TEST(SimFraming, ReaderRecordsCarryLowByteFirstAndEscapeCr) {
    Bytes long_data(13, 0xFF);
    long_data.push_back(0x04);  // 9 + 13 * 255 + 4 = 0x0D00: the high byte is the CR
    Bytes long_wire{0x09};
    for (std::uint8_t b : long_data) long_wire.push_back(b);
    for (std::uint8_t b : {0x00, 0x0E, 0x0D}) long_wire.push_back(b);
    struct Case {
        std::uint8_t sequence;
        Bytes data;
        Bytes wire;
    } cases[] = {
        {1, {'A', 'B'}, {0x01, 0x41, 0x42, 0x84, 0x00, 0x0D}},
        {3, {0x0A}, {0x03, 0x0A, 0x0E, 0x00, 0x0D}},  // sum 0x000D
        {0, {}, {0x00, 0x00, 0x00, 0x0D}},
        {9, long_data, long_wire},
    };
    for (const Case& c : cases) EXPECT_EQ(sim::frame_record(c.sequence, c.data), c.wire);
}

TEST(SimRecords, LinesSplitOnEveryLineEndWithoutCarryingIt) {
    const auto lines = sim::split_lines(sim::to_bytes("one\r\ntwo\nthree\r\r\nlast"));
    const std::vector<std::string> expected{"one", "two", "three", "", "last"};
    ASSERT_EQ(lines.size(), expected.size());
    for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(sim::to_text(lines[i]), expected[i]);
    EXPECT_EQ(sim::split_lines(sim::to_bytes("a\r\n")).size(), 1u);
    EXPECT_TRUE(sim::split_lines({}).empty());
}

TEST(SimRecords, GeneratedRecordsAreNumberedSizedAndFreeOfCr) {
    const auto records = sim::generate_records(12, 30, 1);
    ASSERT_EQ(records.size(), 12u);
    EXPECT_EQ(sim::to_text(records[0]).substr(0, 7), "R00001 ");
    EXPECT_EQ(sim::to_text(records[11]).substr(0, 7), "R00012 ");
    EXPECT_NE(sim::to_text(records[0]).substr(7), sim::to_text(records[1]).substr(7));
    for (const Bytes& r : records) {
        EXPECT_EQ(r.size(), 30u);
        for (std::uint8_t b : r) EXPECT_TRUE(b >= 0x20 && b < 0x7F);
    }
    // Deterministic, and numbered from where a later batch starts.
    EXPECT_EQ(sim::generate_records(1, 30, 12)[0], records[11]);
    EXPECT_EQ(sim::generate_records(1, 3, 1)[0], sim::to_bytes("R00"));
}

TEST(SimTranscript, OneHexLinePerBurstWithDirectionAndTime) {
    sim::Transcript transcript;
    std::vector<std::string> sunk;
    transcript.set_line_sink([&](const std::string& line) { sunk.push_back(line); });
    const Bytes read = sim::to_bytes("READ\r");
    const Bytes ack = sim::to_bytes("ACK\r");
    transcript.add(sim::Direction::to_terminal, 1001, read.data(), read.size());
    transcript.add(sim::Direction::from_terminal, 1002, ack.data(), ack.size());
    EXPECT_EQ(transcript.text(),
              "     1001 ms  host>term  52 45 41 44 0D  |READ.|\n"
              "     1002 ms  term>host  41 43 4B 0D  |ACK.|\n");
    EXPECT_EQ(sunk.size(), 2u);
}

sim::Options parsed(const std::vector<std::string>& args) {
    sim::Options o;
    std::string error;
    EXPECT_TRUE(sim::parse_options(args, &o, &error)) << error;
    return o;
}

TEST(SimOptions, FaultsAndSettingsReachTheTerminals) {
    const auto s =
        parsed({"source", "--generate",     "25",  "--size",           "40",    "--bad-checksum",
                "3",      "--bad-checksum", "5",   "--pause",          "2:700", "--silent-from",
                "9",      "--wrong-answer", "XYZ", "--request-faults", "2",     "--batches",
                "3",      "--delay",        "4"});
    EXPECT_EQ(s.role, sim::Role::source);
    EXPECT_EQ(s.generate_count, 25u);
    EXPECT_EQ(s.generate_size, 40u);
    EXPECT_EQ(s.source.faults.bad_checksum, (std::set<std::size_t>{3, 5}));
    EXPECT_EQ(s.source.faults.pause_before.at(2), 700u);
    EXPECT_EQ(s.source.faults.silent_from, 9u);
    EXPECT_EQ(s.source.faults.request, sim::SourceFaults::Request::wrong);
    EXPECT_EQ(s.source.faults.wrong_answer, "XYZ");
    EXPECT_EQ(s.source.faults.request_fault_count, 2u);
    EXPECT_EQ(s.batches, 3u);
    EXPECT_EQ(s.source.response_delay_ms, 4u);

    const auto l = parsed({"lookup", "--memory", "4096", "--miss-ack", "2", "--miss-ack", "5:4",
                           "--ack-lowercase", "--out", "x.txt"});
    EXPECT_EQ(l.lookup.memory_bytes, 4096u);
    EXPECT_EQ(l.lookup.faults.miss_ack, (std::map<std::size_t, std::size_t>{{2, 1}, {5, 4}}));
    EXPECT_TRUE(l.lookup.faults.ack_lowercase);
    EXPECT_EQ(l.lookup.response_delay_ms, 1u);
    EXPECT_FALSE(l.batches);
    EXPECT_EQ(parsed({"echo"}).delay_ms, std::nullopt);
    EXPECT_TRUE(parsed({"--help"}).help);
    const auto r = parsed({"replay", "--keep-time", "trace.txt"});
    EXPECT_EQ(r.trace_file, "trace.txt");
    EXPECT_EQ(r.timing, sim::Timing::keep);
}

TEST(SimOptions, MistakesAreNamed) {
    struct Case {
        std::vector<std::string> args;
        std::string names;
    } cases[] = {
        {{}, "source, lookup, echo or replay"},
        {{"replay", "--fast"}, "replay needs the trace file"},
        {{"replay", "a.trace", "b.trace"}, "\"b.trace\""},
        {{"source", "--bogus"}, "--bogus"},
        {{"source", "--pause", "3"}, "--pause"},
        {{"source", "--generate", "-1"}, "--generate"},
        {{"lookup", "--memory"}, "--memory needs a value"},
        {{"echo", "--baud", "1200"}, "--baud"},
        {{"source", "lookup"}, "lookup"},
        {{"source", "--size", "252"}, "at most 251 data bytes"},
        {{"lookup", "--batches", "0"}, "--batches must be at least 1"},
        {{"lookup", "--miss-ack", "3:0"}, "--miss-ack 3:0"},
    };
    for (const Case& c : cases) {
        sim::Options o;
        std::string error;
        EXPECT_FALSE(sim::parse_options(c.args, &o, &error));
        EXPECT_NE(error.find(c.names), std::string::npos) << error;
    }
}

// The replay against a scripted program: when the terminal's bursts go under each timing, and
// the first difference it reports.
using sim::Timing;

std::string line(std::uint64_t time, common::Direction direction, const std::string& text) {
    return common::format_burst({direction, time, sim::to_bytes(text)});
}
std::string host(std::uint64_t time, const std::string& text) {
    return line(time, common::Direction::to_terminal, text);
}
std::string term(std::uint64_t time, const std::string& text) {
    return line(time, common::Direction::from_terminal, text);
}

// Lines 3 to 7 after a note and a blank line; a gap of 100 ms goes at once, one of 101 is kept.
const std::string kTrace = "# note: a one-record batch\n\n" + host(0, "READ\r") + "\n" +
                           term(100, "ACK\r") + "\n" + term(102, "R1\r") + "\n" +
                           host(110, "ACK\r") + "\n" + term(211, "OVER\r") + "\n";
// Two runs of a program that appended to one trace, its clock starting again.
const std::string kTwoRuns = host(0, "velmor\r") + "\n" + term(1, "ACK\r") + "\n" +
                             host(5, "OVER\r") + "\n" + term(6, "ACK\r") + "\n" +
                             host(0, "velmor\r") + "\n" + term(2, "ACK\r") + "\n";
const std::string kBefore = "before it:\n" + host(0, "READ\r") + "\n" + term(100, "ACK\r") + "\n" +
                            term(102, "R1\r") + "\n";

using Received = std::vector<std::pair<std::uint64_t, std::string>>;

struct Program {
    std::uint64_t at;
    std::string write;
};
using Steps = std::vector<Program>;

// Polls the line as a program does, writing each piece at its time, until the replay ends.
Received play(sim::Replay& replay, const Steps& program) {
    simline::VirtualClock clock;
    simline::SimulatedLine line(clock, replay);
    Received got;
    auto run_until = [&](std::uint64_t t) {
        while (clock.now() < t &&
               line.wait_for_input(static_cast<std::uint32_t>(t - clock.now()))) {
            std::uint8_t buffer[64];
            const std::size_t n = line.read(buffer, sizeof buffer);
            got.emplace_back(clock.now(), std::string(buffer, buffer + n));
        }
    };
    for (const Program& step : program) {
        run_until(step.at);
        line.write(sim::to_bytes(step.write).data(), step.write.size());
    }
    while (!replay.done() && !replay.failed()) run_until(clock.now() + 1000);
    return got;
}

TEST(SimReplay, WaitsForTheProgramThenSendsAfterTheGapAndReportsTheFirstDifference) {
    const struct {
        const char* name;
        const std::string& trace;
        Timing timing;
        Steps program;
        Received received;
        std::string difference;  // empty: played to its end
    } rows[] = {
        {"short gaps at once, long ones kept; the program's bytes may come in any pieces", kTrace,
         Timing::over_threshold, Steps{{5, "RE"}, {6, "AD\r"}, {200, "ACK\r"}},
         Received{{6, "ACK\rR1\r"}, {301, "OVER\r"}}, ""},
        {"every gap kept", kTrace, Timing::keep, Steps{{5, "READ\r"}, {200, "ACK\r"}},
         Received{{105, "ACK\r"}, {107, "R1\r"}, {301, "OVER\r"}}, ""},
        {"no gap kept", kTrace, Timing::fast, Steps{{5, "READ\r"}, {200, "ACK\r"}},
         Received{{5, "ACK\rR1\r"}, {200, "OVER\r"}}, ""},
        {"each run's first bytes wait for the program to be started", kTwoRuns,
         Timing::over_threshold, Steps{{10, "velmor\r"}, {20, "OVER\r"}, {90'000, "velmor\r"}},
         Received{{10, "ACK\r"}, {20, "ACK\r"}, {90'000, "ACK\r"}}, ""},
        {"a wrong byte", kTrace, Timing::over_threshold, Steps{{5, "READ\r"}, {200, "ANK\r"}},
         Received{{5, "ACK\rR1\r"}},
         "line 6, byte 2: the program sent other bytes than the trace holds\n" + kBefore +
             "expected:\n" + host(110, "ACK\r") + "\nseen (replay's clock):\n" +
             host(200, "ANK\r") + "\n"},
        {"silence past the recorded gap and the slack", kTrace, Timing::over_threshold,
         Steps{{5, "READ\r"}, {6, "AC"}}, Received{{5, "ACK\rR1\r"}},
         "line 6: the program sent nothing more within 2008 ms\n" + kBefore + "expected:\n" +
             host(110, "ACK\r") + "\nseen (replay's clock):\n" + host(6, "AC") +
             "\nnothing more until 2014 ms\n"},
        {"bytes in the terminal's turn", kTrace, Timing::keep, Steps{{5, "READ\r"}, {50, "ACK\r"}},
         Received{},
         "line 4: the program sent bytes where the terminal was to send next\nbefore it:\n" +
             host(0, "READ\r") + "\nexpected:\n" + term(100, "ACK\r") +
             "\nseen (replay's clock):\n" + host(50, "ACK\r") + "\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        sim::ReplayConfig config;
        std::string error;
        ASSERT_TRUE(sim::parse_trace(row.trace, &config.trace, &error)) << error;
        config.timing = row.timing;
        sim::Replay replay(config);
        EXPECT_EQ(play(replay, row.program), row.received);
        EXPECT_EQ(replay.done(), row.difference.empty());
        EXPECT_EQ(replay.difference(), row.difference);
    }
}

// The simulated line keeps protocol time exact: waits end at the byte or at the limit.
// Sends one byte at a fixed time, then nothing.
struct OneBytePeer : testing_support::ScriptedPeer {
    explicit OneBytePeer(std::uint64_t at) { send("x", at); }
};

TEST(SimulatedLine, ReadReturnsAtOnceWithNothingBuffered) {
    simline::VirtualClock clock(1000);
    OneBytePeer peer(5000);
    simline::SimulatedLine line(clock, peer);
    std::uint8_t b = 0;
    EXPECT_EQ(line.read(&b, 1), 0u);
    EXPECT_EQ(clock.now(), 1000u);
}

TEST(SimulatedLine, WaitEndsWhenTheByteArrivesOrAtItsLimit) {
    simline::VirtualClock clock(1000);
    OneBytePeer peer(1250);
    simline::SimulatedLine line(clock, peer);
    EXPECT_FALSE(line.wait_for_input(200));
    EXPECT_EQ(clock.now(), 1200u);
    EXPECT_TRUE(line.wait_for_input(300));
    EXPECT_EQ(clock.now(), 1250u);
    std::uint8_t b = 0;
    ASSERT_EQ(line.read(&b, 1), 1u);
    EXPECT_EQ(b, 'x');
}

TEST(SimulatedLine, AProgramLoopThatNeverEndsFailsTheTestInsteadOfHangingIt) {
    simline::VirtualClock clock(0);
    OneBytePeer peer(100);
    std::uint8_t b = 0;
    simline::SimulatedLine spinning(clock, peer);
    spinning.set_progress_cap({1000, 50});
    EXPECT_THROW(for (;;) spinning.read(&b, 1), simline::NoProgress);
    EXPECT_EQ(clock.now(), 0u);

    simline::SimulatedLine running_on(clock, peer);
    running_on.set_progress_cap({1000, 50});
    EXPECT_THROW(
        for (;;) {
            running_on.wait_for_input(10);
            running_on.read(&b, 1);
        },
        simline::NoProgress);
    EXPECT_EQ(clock.now(), 1010u);
}

TEST(SimulatedLine, TickCounterWrapsLikeWindows) {
    simline::VirtualClock clock(0xFFFFFF00u);
    const std::uint32_t start = clock.tick_ms();
    clock.advance_to(0x100000100ull);
    EXPECT_EQ(platform::elapsed_since(clock, start), 0x200u);
}

}  // namespace

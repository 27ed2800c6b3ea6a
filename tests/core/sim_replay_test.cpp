// The replay on a virtual clock against a scripted program: when the terminal's bursts go under
// each timing, and the first difference it reports.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tools/simulated-line/simulated_line.h"
#include "tools/velmora-sim/replay.h"

namespace {

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

}  // namespace

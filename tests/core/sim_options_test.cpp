// The simulator's command line: options reach the peers' configurations, mistakes are named.
#include <gtest/gtest.h>

#include "tools/velmora-sim/options.h"

namespace {

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

}  // namespace

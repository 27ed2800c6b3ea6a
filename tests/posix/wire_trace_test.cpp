// The support trace: with VELMORA_TRACE set, each program appends every byte it sends and
// receives, burst by burst in the simulator's transcript format, run after run.
#include <gtest/gtest.h>

#include <sstream>

#include "common/traced_line.h"
#include "tests/support/posix/e2e_rig.h"
#include "tests/support/scripted_peer.h"
#include "tools/simulated-line/simulated_line.h"

namespace {

using namespace std::chrono_literals;
using namespace testing_support;

// The lines without their times: direction, hex bytes and text, in order.
std::vector<std::string> without_times(const std::string& trace) {
    std::vector<std::string> lines;
    std::istringstream in(trace);
    for (std::string line; std::getline(in, line);) {
        const auto ms = line.find(" ms  ");
        EXPECT_NE(ms, std::string::npos) << line;
        if (ms != std::string::npos) lines.push_back(line.substr(ms + 5));
    }
    return lines;
}

TEST(WireTrace, EachProgramAppendsWhatTheTerminalSawRunAfterRun) {
    const struct {
        const char* program;
        std::vector<std::string> terminal;
        std::string tail;
    } cases[] = {
        {"ravelo",
         {"source", "--generate", "3", "--size", "8", "--bad-checksum", "1"},
         "@/OUT.TXT,1,1,1,1,1,0,0,0,0,2"},
        {"lumbra", {"lookup", "--garbage-at", "1"}, "@/list.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.program);
        E2eRig rig;
        const auto& temp = rig.temp;
        write_bytes(temp.file("list.txt"), "jedna\r\ndva\r\n");
        std::vector<std::string> sim{"--transcript", temp.file("wire.txt")};
        sim.insert(sim.end(), c.terminal.begin(), c.terminal.end());
        const std::string device = rig.start_terminal(sim);
        const std::string tail = with_folder(c.tail, temp.directory());
        for (int run = 0; run < 2; ++run) {
            const auto result =
                rig.run({bin_dir() + "/" + c.program, tail},
                        {{"VELMORA_COM1", device}, {"VELMORA_TRACE", temp.file("trace.txt")}}, 20s);
            EXPECT_EQ(result.exit_status, 0) << result.err;
        }
        rig.terminal->stop();
        const auto traced = without_times(read_bytes(temp.file("trace.txt")));
        EXPECT_GT(traced.size(), 8u);
        EXPECT_EQ(traced, without_times(read_bytes(temp.file("wire.txt"))));
    }
}

// Each message from the terminal is a line of its own, even when two come in one read.
TEST(WireTrace, TwoMessagesInOneReadAreTwoLines) {
    TempDir temp;
    ScopedEnv trace("VELMORA_TRACE", temp.file("trace.txt"));
    simline::VirtualClock clock;
    ScriptedPeer peer;
    peer.expect("READ\r").send("ACK\r0ab\r", 1);
    simline::SimulatedPorts ports(clock, peer);
    {
        auto line = common::trace_if_asked(ports.open(1, {115200, 0, 0, {}}).line, clock);
        line->write(reinterpret_cast<const std::uint8_t*>("READ\r"), 5);
        clock.sleep_ms(2);
        std::uint8_t buffer[32];
        EXPECT_EQ(line->read(buffer, sizeof buffer), 8u);
    }
    EXPECT_EQ(without_times(read_bytes(temp.file("trace.txt"))),
              (std::vector<std::string>{"host>term  52 45 41 44 0D  |READ.|",
                                        "term>host  41 43 4B 0D  |ACK.|",
                                        "term>host  30 61 62 0D  |0ab.|"}));
}

// A trace that cannot be written is said once and costs the user nothing.
TEST(WireTrace, AnUnwritableTraceIsSaidOnceAndTheRunGoesOn) {
    E2eRig rig;
    const std::string device = rig.start_terminal({"source", "--generate", "2"});
    const std::string trace = rig.temp.file("no-such-folder") + "/trace.txt";
    const auto result =
        rig.run({bin_dir() + "/ravelo", rig.temp.file("OUT.TXT") + ",1,1,1,1,1,1,0,0,0,2"},
                {{"VELMORA_COM1", device}, {"VELMORA_TRACE", trace}}, 20s);
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(result.err,
              "Záznam komunikace (VELMORA_TRACE) nelze zapsat, program pokračuje bez "
              "něj.\n" +
                  trace + ": No such file or directory\n");
}

}  // namespace

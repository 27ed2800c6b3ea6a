// Traces of the wire. The support trace: with VELMORA_TRACE set, each program appends every byte it
// sends and receives, burst by burst in the simulator's transcript format, run after run. And
// every trace in tests/traces replayed by velmora-sim against the programs that recorded it: ravelo
// and lumbra natively, Ravelo.exe and Lumbra.exe under Wine. Adding a trace is adding a file; its
// header comments say what to run (the replay itself skips them):
//   # note: what it shows
//   # file: NAME TEXT     a file written before the first run (\r, \n, \\ and \xHH escapes)
//   # run: PROGRAM TAIL   ravelo or lumbra with its command-line tail; one line per run, in order
//   # box: BUTTON CAPTION a message box the Windows program shows in that run, answered in turn
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>

#include "common/traced_line.h"
#include "tests/support/posix/wine_rig.h"
#include "tests/support/scripted_peer.h"
#include "tools/simulated-line/simulated_line.h"

namespace {

using namespace std::chrono_literals;
using namespace testing_support;
using TraceReplayWineE2e = testing_support::WineE2e;

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

struct ProgramRun {
    std::string program;
    std::string tail;
    std::vector<std::pair<std::string, std::string>> boxes;  // button, caption
};

struct TraceFile {
    std::string name;
    std::string text;
    std::map<std::string, std::string> files;
    std::vector<ProgramRun> runs;
};

std::string unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char c = text[++i];
        if (c == 'x' && i + 2 < text.size()) {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += c == 'r' ? '\r' : c == 'n' ? '\n' : c;
        }
    }
    return out;
}

// "WORD REST" split at the first blank; REST loses the quotes around it.
std::pair<std::string, std::string> split(const std::string& text) {
    const auto blank = text.find(' ');
    std::string rest = blank == std::string::npos ? "" : text.substr(blank + 1);
    if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"') {
        rest = rest.substr(1, rest.size() - 2);
    }
    return {text.substr(0, blank), rest};
}

TraceFile read_trace(const std::filesystem::path& path) {
    TraceFile trace{path.filename().string(), read_bytes(path.string()), {}, {}};
    std::istringstream in(trace.text);
    for (std::string line; std::getline(in, line);) {
        const auto [key, value] = split(line);
        if (key == "#" && value.rfind("file: ", 0) == 0) {
            const auto [name, content] = split(value.substr(6));
            trace.files[name] = unescape(content);
        } else if (key == "#" && value.rfind("run: ", 0) == 0) {
            const auto [program, tail] = split(value.substr(5));
            trace.runs.push_back({program, tail, {}});
        } else if (key == "#" && value.rfind("box: ", 0) == 0 && !trace.runs.empty()) {
            trace.runs.back().boxes.push_back(split(value.substr(5)));
        }
    }
    return trace;
}

std::vector<TraceFile> all_traces() {
    std::vector<TraceFile> traces;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(VELMORA_SOURCE_DIR) + "/tests/traces")) {
        if (entry.path().extension() == ".trace") traces.push_back(read_trace(entry.path()));
    }
    std::sort(traces.begin(), traces.end(),
              [](const TraceFile& a, const TraceFile& b) { return a.name < b.name; });
    return traces;
}

struct Verdict {
    int status;
    std::string out;  // what velmora-sim printed after the line's path
};

// Starts the replay of `text` from the rig's folder; `more` are options after the trace. Returns
// the replay's pseudo-terminal.
std::string start_replay(E2eRig& rig, const std::string& text, std::vector<std::string> more = {}) {
    write_bytes(rig.temp.file("trace.txt"), text);
    more.insert(more.begin(), {"replay", rig.temp.file("trace.txt")});
    return rig.E2eRig::start_terminal(more);
}

Verdict verdict(BackgroundProcess& replay) {
    Verdict v{replay.wait(10s), ""};
    for (std::string line; !(line = replay.read_line(1s)).empty();) v.out += line + "\n";
    return v;
}

// The Linux programs, each run in turn with COM1 on the replay's pseudo-terminal.
Verdict play_on_linux(const TraceFile& trace, const std::string& text) {
    E2eRig rig;
    for (const auto& [name, content] : trace.files) write_bytes(rig.temp.file(name), content);
    const std::string device = start_replay(rig, text);
    for (const ProgramRun& run : trace.runs) {
        const auto result =
            rig.run({bin_dir() + "/" + run.program, run.tail}, rig.env(device), 60s);
        EXPECT_NE(result.exit_status, -1) << run.program << " did not end";
    }
    return verdict(*rig.terminal);
}

TEST(TraceReplayE2e, EveryTracePlaysToItsEndAgainstTheLinuxPrograms) {
    const auto traces = all_traces();
    ASSERT_FALSE(traces.empty());
    for (const TraceFile& trace : traces) {
        SCOPED_TRACE(trace.name);
        ASSERT_FALSE(trace.runs.empty()) << "no \"# run:\" line";
        const Verdict v = play_on_linux(trace, trace.text);
        EXPECT_EQ(v.status, 0) << v.out;
    }
    // A trace edited to expect NAK where the reader acknowledges: the replay stops there.
    const auto nak = std::find_if(traces.begin(), traces.end(), [](const TraceFile& t) {
        return t.name == "ravelo-nak-resend.trace";
    });
    ASSERT_NE(nak, traces.end());
    std::string wrong = nak->text;
    const std::string ack = "host>term  41 43 4B 0D  |ACK.|";
    const auto at = wrong.find(ack);
    ASSERT_NE(at, std::string::npos);
    wrong.replace(at, ack.size(), "host>term  4E 41 4B 0D  |NAK.|");
    const Verdict v = play_on_linux(*nak, wrong);
    EXPECT_EQ(v.status, 1);
    for (const char* said : {"byte 1: the program sent other bytes than the trace holds\n",
                             "host>term  4E 41 4B 0D  |NAK.|\nseen (replay's clock):\n",
                             "host>term  41 43 4B 0D  |ACK.|\n"}) {
        EXPECT_NE(v.out.find(said), std::string::npos) << v.out;
    }
}

TEST_F(TraceReplayWineE2e, EveryTracePlaysToItsEndAgainstTheWindowsPrograms) {
    for (const TraceFile& trace : all_traces()) {
        SCOPED_TRACE(trace.name);
        for (const auto& [name, content] : trace.files) write_bytes(rig.temp.file(name), content);
        ASSERT_FALSE(start_replay(rig, trace.text, {"--link", rig.com1_link()}).empty());
        for (const ProgramRun& run : trace.runs) {
            // A file the trace brings is named as Windows sees it.
            const std::string tail =
                trace.files.count(run.tail) ? rig.wine_file(run.tail) : run.tail;
            BackgroundProcess program(run.program == "lumbra" ? rig.lumbra(tail)
                                                              : rig.ravelo(tail));
            for (const auto& [button, caption] : run.boxes) {
                EXPECT_EQ(rig.answer_box(caption, button).exit_status, 0)
                    << "no box \"" << caption << "\"";
            }
            EXPECT_NE(program.wait(60s), -1) << run.program << " did not end";
        }
        const Verdict v = verdict(*rig.terminal);
        EXPECT_EQ(v.status, 0) << v.out;
    }
}

}  // namespace

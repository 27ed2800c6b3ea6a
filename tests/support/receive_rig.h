// A reader wired to a scripted terminal on the virtual clock, with its output in a fresh folder.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "reader/reader.h"
#include "tests/support/recording_ui.h"
#include "tests/support/scripted_peer.h"
#include "tests/support/temp_dir.h"
#include "tools/simulated-line/simulated_line.h"
#include "tools/simulated-line/virtual_clock.h"
#include "tools/velmora-sim/record_source.h"

namespace testing_support {

struct ReceiveRig {
    ReceiveRig();
    ~ReceiveRig();

    // Opens the port as the reader does, receives, and closes port and file like run_transfer.
    std::optional<int> receive();
    // What the reader wrote, one entry per write, e.g. {0, "READ\r"}.
    const std::vector<Heard>& written() const { return peer.heard(); }
    // The output file's bytes; empty when it does not exist.
    std::string file_content() const;
    bool file_exists() const;

    simline::VirtualClock clock{0};
    ScriptedPeer peer;
    simline::SimulatedPorts ports{clock, peer};
    RecordingUi ui;
    ravelo::Reader reader{ports, clock, ui, ui};
    TempDir temp;
    std::string folder;
};

// A reader against the simulated terminal, its output "DATA.TXT" and its settings file in a fresh
// folder; it neither asks for settings nor offers to show what came.
struct TerminalRig {
    explicit TerminalRig(sim::SourceConfig config);
    ~TerminalRig() { reader.output.close(); }
    std::string output() const { return temp.file("DATA.TXT"); }
    // Receives into output() as run_transfer does.
    std::optional<int> receive();
    // How often the reader wrote exactly `message`.
    std::size_t written(const std::string& message) const;

    TempDir temp;
    simline::VirtualClock clock{0};
    sim::RecordSource terminal;
    simline::SimulatedPorts ports{clock, terminal};
    RecordingUi ui;
    ravelo::Reader reader{ports, clock, ui, ui};
};

// Terminal faults with one kind set, e.g. faults_with(&sim::SourceFaults::noise, {2, 7}).
template <typename T>
sim::SourceFaults faults_with(T sim::SourceFaults::*field, const std::common_type_t<T>& value) {
    sim::SourceFaults faults;
    faults.*field = value;
    return faults;
}

// A terminal that serves these records as its one batch.
sim::SourceConfig one_batch(sim::Records records);
// The first `count` records as the reader stores them, each ended by CR LF.
std::string as_lines(const sim::Records& records, std::size_t count = SIZE_MAX);

// Opens the port as the reader does, receives, and closes port and file like run_transfer: the
// number run_transfer gives its callers, or none when the port could not be opened.
std::optional<int> receive_as_transfer(ravelo::Reader& reader);

// The writes `message` repeated `times` times, the first at `first_ms`, then every `step_ms`.
std::vector<Heard> repeated(const std::string& message, int times, std::uint64_t first_ms,
                            std::uint64_t step_ms);

}  // namespace testing_support

// A reader wired to a scripted terminal on the virtual clock, with its output in a fresh folder.
#pragma once

#include <string>
#include <vector>

#include "reader/reader.h"
#include "tests/support/recording_ui.h"
#include "tests/support/scripted_peer.h"
#include "tools/simulated-line/simulated_line.h"
#include "tools/simulated-line/virtual_clock.h"

namespace testing_support {

struct ReceiveRig {
    ReceiveRig();
    ~ReceiveRig();

    // Opens the port as the reader does, receives, and closes port and file like run_transfer.
    int receive();
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
    std::string folder;
};

// Opens the port as the reader does, receives, and closes port and file like run_transfer;
// -100 when the port could not be opened.
int receive_as_transfer(ravelo::Reader& reader);

// The writes `message` repeated `times` times, the first at `first_ms`, then every `step_ms`.
std::vector<Heard> repeated(const std::string& message, int times, std::uint64_t first_ms,
                            std::uint64_t step_ms);

}  // namespace testing_support

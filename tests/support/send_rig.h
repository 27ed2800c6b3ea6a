// A sender wired to a scripted terminal on the virtual clock, with its lookup file in a fresh
// folder and a scripted user.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "sender/sender.h"
#include "tests/support/recording_ui.h"
#include "tests/support/scripted_peer.h"
#include "tests/support/temp_dir.h"
#include "tools/simulated-line/simulated_line.h"
#include "tools/simulated-line/virtual_clock.h"

namespace testing_support {

// Records the sender's dialogs and progress window as lines, e.g. "open", "progress 50".
class RecordingSenderUi : public lumbra::SenderUi {
  public:
    std::vector<std::string> calls;
    // The chooser's answer: a full path, or empty to cancel. It sees the proposal first.
    std::string chosen_path;
    std::function<void(lumbra::Sender&)> on_port_dialog;  // may change the choices
    common::DialogEnd port_dialog_result = common::DialogEnd::ok;

    bool choose_lookup_file(lumbra::Sender& sender) override;
    common::DialogEnd run_port_dialog(lumbra::Sender& sender) override;
    void init_common_controls() override { calls.push_back("init"); }
    void open_progress_window() override { calls.push_back("open"); }
    void set_progress(int percent) override;
    void close_progress_window() override { calls.push_back("close"); }
};

struct SendRig {
    SendRig();

    // Writes the lookup file and points the settings at it.
    void write_lookup(const std::string& bytes);
    // Opens the lookup file and the port as the run does, then one attempt. from_pipe: the
    // file's bytes held in memory, as a pipe's are. None when the file or the port did not open.
    std::optional<int> attempt();
    // The whole run from the command-line tail, the temporary folder as the executable's;
    // none when the tail is refused.
    std::optional<int> run(const std::string& tail);
    const std::vector<Heard>& written() const { return peer.heard(); }
    // The terminal expects these messages in order and answers each with "ACK\r" after 1 ms.
    void acknowledge(const std::vector<std::string>& messages);

    simline::VirtualClock clock{0};
    ScriptedPeer peer;
    simline::SimulatedPorts ports{clock, peer};
    RecordingBoxes boxes;
    RecordingSenderUi ui;
    lumbra::Sender sender{ports, clock, boxes, ui};
    TempDir temp;
    std::string lookup_path;
    bool from_pipe = false;
};

// One of the sender's message boxes: its caption and the exclamation icon.
ShownMessage sender_box(const std::string& text,
                        common::BoxOwner owner = common::BoxOwner::active_window);

// A lookup record as the terminal must receive it, framed as the terminal checks it.
std::string lookup_record(const std::string& payload);

}  // namespace testing_support

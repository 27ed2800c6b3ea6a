// The sender tests' rig: scripted terminal and user, lookup file in a temporary folder.
#include "tests/support/send_rig.h"

#include "sender/command_line.h"
#include "sender/run_sender.h"
#include "sender/send_attempt.h"
#include "sender/serial_port.h"
#include "tests/support/attempt_number.h"
#include "tools/velmora-sim/framing.h"

namespace testing_support {

bool RecordingSenderUi::choose_lookup_file(lumbra::Sender& sender) {
    calls.push_back("choose " + sender.settings.directory + " | " + sender.settings.lookup_path);
    if (chosen_path.empty()) return false;
    sender.settings.lookup_path = chosen_path;
    return true;
}

common::DialogEnd RecordingSenderUi::run_port_dialog(lumbra::Sender& sender) {
    calls.push_back("port dialog " + std::to_string(sender.settings.port_index) + " " +
                    std::to_string(sender.settings.baud_index));
    if (on_port_dialog) on_port_dialog(sender);
    return port_dialog_result;
}

void RecordingSenderUi::set_progress(int percent) {
    calls.push_back("progress " + std::to_string(percent));
}

SendRig::SendRig() : lookup_path(temp.file("LIST.TXT")) {}

void SendRig::write_lookup(const std::string& bytes) {
    write_bytes(lookup_path, bytes);
    sender.settings.lookup_path = lookup_path;
}

std::optional<int> SendRig::attempt() {
    platform::FileError error = platform::FileError::none;
    if (from_pipe) {
        sender.lookup.hold(read_bytes(lookup_path));
    } else {
        sender.lookup.load(platform::File::open(lookup_path, platform::Creation::open_existing,
                                                &error, platform::File::Access::read_only),
                           lumbra::kLookupMemoryLimit);
    }
    if (!sender.lookup.is_open() || lumbra::open_serial_port(sender) != common::LineOpen::opened)
        return std::nullopt;
    const int result = attempt_number(lumbra::send_attempt(sender));
    sender.port.reset();
    return result;
}

std::optional<int> SendRig::run(const std::string& tail) {
    if (!lumbra::apply_command_line(sender.settings, tail)) return std::nullopt;
    return lumbra::run_sender(sender, temp.directory());
}

void SendRig::acknowledge(const std::vector<std::string>& messages) {
    for (const std::string& message : messages) peer.expect(message).send("ACK\r", 1);
}

ShownMessage sender_box(const std::string& text, common::BoxOwner owner) {
    return {"Lumbra", text, false, common::BoxIcon::exclamation, owner};
}

std::string lookup_record(const std::string& payload) {
    return sim::to_text(sim::frame_lookup_record(sim::to_bytes(payload)));
}

}  // namespace testing_support

// The sender's main flow: choices (interactive only), the lookup file, the port, then attempts
// for as long as they fail and the user asks for another.
#include "sender/run_sender.h"

#include <utility>

#include "platform/file_failure.h"
#include "platform/paths.h"
#include "platform/stop_signals.h"
#include "sender/send_attempt.h"
#include "sender/sender_messages.h"
#include "sender/serial_port.h"
#include "sender/settings_file.h"

namespace lumbra {

namespace {

// Without a separator in the path, the chooser's directory stays as it was.
void remember_choice(SenderSettings& settings) {
    platform::ChosenPath parts = platform::split_chosen_path(settings.lookup_path);
    if (parts.directory) settings.directory = std::move(*parts.directory);
    settings.file_name = std::move(parts.name);
}

// Interactive mode's first steps: false when the chooser was cancelled.
bool choose_file(Sender& sender, const platform::ProgramFolders& folders) {
    load_settings(sender, folders);
    sender.settings.lookup_path = sender.settings.file_name;
    if (!sender.ui.choose_lookup_file(sender)) return false;
    remember_choice(sender.settings);
    return true;
}

bool open_lookup_file(Sender& sender) {
    const std::string& path = sender.settings.lookup_path;
    platform::FileError error = platform::FileError::none;
    platform::File file = platform::File::open(path, platform::Creation::open_existing, &error,
                                               platform::File::Access::read_only);
    std::string problem;
    if (!file.is_open()) {
        problem = platform::file_failure_message(kCannotOpenFile, path, file.system_error());
    } else {
        const LookupLoad load = sender.lookup.load(std::move(file), kLookupMemoryLimit);
        if (load == LookupLoad::loaded) return true;
        problem = load == LookupLoad::too_large ? oversized_lookup_message(kLookupMemoryLimit)
                                                : std::string(kCannotReadFile);
    }
    // The first box of a run has no window to belong to.
    sender.boxes.show_message(kCaption, problem, common::BoxIcon::exclamation,
                              common::BoxOwner::none);
    return false;
}

void run_attempts(Sender& sender) {
    const platform::StopSignalScope stop_signals;
    AttemptEnd end;
    // An attempt that failed on the file itself would fail again: no repeat is offered.
    while ((end = send_attempt(sender)) == AttemptEnd::failed) {
        // A port that stopped working is closed before the question, so that an adapter plugged
        // in again can take its old name; a repeat then opens it afresh, or ends the run.
        if (sender.port->failed()) sender.port.reset();
        if (platform::stop_requested() ||
            !sender.boxes.ask_yes_no(kCaption, kRepeatQuestion, common::BoxIcon::question)) {
            return;
        }
        if (!sender.port && open_serial_port(sender) != common::LineOpen::opened) return;
        sender.port->discard_input();
    }
    sender.loaded = end == AttemptEnd::loaded;
}

void save_choices(Sender& sender) {
    std::string reason;
    if (!save_settings(sender, &reason)) sender.ui.settings_not_saved(sender.settings_path, reason);
}

}  // namespace

int run_sender(Sender& sender, const platform::ProgramFolders& folders) {
    const bool interactive = !sender.settings.command_line_mode;
    sender.loaded = false;
    if (interactive && !choose_file(sender, folders)) return 0;
    if (!open_lookup_file(sender)) return -1;
    if (interactive && sender.ui.run_port_dialog(sender) == common::DialogEnd::cancelled) {
        sender.lookup.close();
        return 0;
    }
    save_choices(sender);
    const common::LineOpen opened = open_serial_port(sender);
    if (opened != common::LineOpen::opened) {
        sender.lookup.close();
        return opened == common::LineOpen::cannot_open ? -1 : 0;
    }
    sender.ui.init_common_controls();
    run_attempts(sender);
    if (sender.port) sender.port->discard_input();
    sender.port.reset();
    sender.lookup.close();
    return 1;
}

}  // namespace lumbra

// The sender's terminal front end: prompts on the controlling terminal, progress drawn in place.
#include "sender/posix/terminal_ui.h"

#include "sender/posix/lookup_chooser.h"
#include "sender/posix/port_form.h"
#include "sender/posix/progress_line.h"
#include "sender/sender.h"

namespace lumbra {

bool TerminalUi::choose_lookup_file(Sender& sender) {
    return show_lookup_chooser(sender.settings);
}

common::DialogEnd TerminalUi::run_port_dialog(Sender& sender) {
    return show_port_form(sender.settings);
}

void TerminalUi::open_progress_window() {
    if (progress_.open()) progress_.show(progress_text(0));
}

void TerminalUi::set_progress(int percent) {
    progress_.show(progress_text(percent));
}

void TerminalUi::close_progress_window() {
    progress_.close();
}

}  // namespace lumbra

// The port dialog as a form on the terminal, for the POSIX front end.
#pragma once

#include "common/posix/form_terminal.h"
#include "sender/sender_settings.h"

namespace lumbra {

// The port and the speed as numbered choices, opened on settings.port_index and baud_index:
// 1 for OK (O or Enter; both written back), 2 for Zrušit (Z, Esc or end of input; nothing
// written).
int run_port_form(SenderSettings& settings, common::FormTerminal& terminal);
// The same on the controlling terminal; 2 without one.
int show_port_form(SenderSettings& settings);

}  // namespace lumbra

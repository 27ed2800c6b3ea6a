// The port dialog as a form on the terminal, for the POSIX front end.
#pragma once

#include "common/dialog_end.h"
#include "common/posix/form_terminal.h"
#include "sender/sender_settings.h"

namespace lumbra {

// The port and the speed as numbered choices, opened on settings.port_index and baud_index:
// ok for O or Enter (both written back), cancelled for Zrušit (Z, Esc or end of input; nothing
// written).
common::DialogEnd run_port_form(SenderSettings& settings, common::FormTerminal& terminal);
// The same on the controlling terminal; cancelled without one.
common::DialogEnd show_port_form(SenderSettings& settings);

}  // namespace lumbra

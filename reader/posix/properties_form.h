// The properties dialog as a form on the terminal, for the POSIX front end.
#pragma once

#include <string>

#include "common/posix/form_terminal.h"
#include "reader/reader.h"

namespace ravelo {

// Where the form reads its answers and writes its text: the terminal, or a script in the tests.
using common::FormTerminal;

inline const char* const kNoTerminalMessage = "Nastavení nelze zobrazit: program nemá terminál.";

// The form on the controlling terminal, left with OK or Storno. Without a terminal it shows
// kNoTerminalMessage and is cancelled.
common::DialogEnd show_properties_form(Reader& reader);
// The same on a given terminal.
common::DialogEnd run_properties_form(Reader& reader, FormTerminal& terminal);

}  // namespace ravelo

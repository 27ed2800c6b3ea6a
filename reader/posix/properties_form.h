// The properties dialog as a form on the terminal, for the POSIX front end.
#pragma once

#include <string>

#include "reader/reader.h"

namespace ravelo {

// Where the form reads its answers and writes its text: the terminal, or a script in the tests.
class FormTerminal {
  public:
    virtual ~FormTerminal() = default;
    // One line without its line end; false at the end of input.
    virtual bool read_line(std::string& line) = 0;
    virtual void write(const std::string& text) = 0;
};

inline const char* const kNoTerminalMessage = "Nastavení nelze zobrazit: program nemá terminál.";

// The form on the controlling terminal: 1 for OK, 2 for Storno. Without a terminal it shows
// kNoTerminalMessage and returns 2.
int show_properties_form(Reader& reader);
// The same on a given terminal.
int run_properties_form(Reader& reader, FormTerminal& terminal);

}  // namespace ravelo

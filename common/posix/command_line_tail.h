// The command-line string of a POSIX program, as other software gives it to the programs.
#pragma once

#include <string>

namespace common {

// The arguments after the program's name, joined by single blanks.
std::string command_line_tail(int argc, char** argv);

}  // namespace common

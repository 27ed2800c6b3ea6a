// The command-line string of a POSIX program, as other software gives it to the programs.
#pragma once

#include <optional>
#include <string>

namespace common {

// The arguments after the program's name. An argument that starts with "-" before "--" is an
// option: the programs know only --help, -h, --version, --ports and --charset, and take no other
// as a file name, so a mistyped option never becomes an output file after the terminal has been
// contacted. --charset=NAME (or --charset NAME) may stand beside anything else.
struct Arguments {
    std::string tail;            // the rest, joined by single blanks
    std::string unknown_option;  // the first option no program knows; empty when none
    bool options_ended = false;  // "--" came first: the tail is a name, never a help request
    std::optional<std::string> charset;  // the last --charset's name
};
Arguments read_arguments(int argc, char** argv);

}  // namespace common

// What both Linux programs add to their help (ports, files, environment), and its printing.
#pragma once

#include <optional>
#include <string>

#include "common/file_charset.h"
#include "common/posix/command_line_tail.h"

namespace common {

// Where ports, the settings file and the trace come from, and the common options.
std::string linux_notes(const std::string& settings_file);

// Prints the usage or the version when the command-line string asks for it; true then, and the
// program ends with 0 without opening anything.
bool answer_help_request(const std::string& tail, const std::string& program,
                         const std::string& usage);

// The files' encoding: the --charset option, else the environment variable VELMORA_CHARSET (for
// runs started without options, such as the forms' from a menu), else code page 1250. Nothing
// when the name that counts is neither cp1250 nor utf-8.
std::optional<FileCharset> chosen_file_charset(const Arguments& arguments);

// What the arguments alone decide, with the exit status: a usage error (2, said on standard
// error; an encoding neither option nor variable may name included), a help request or the
// ports of COM1..COM<port_count> (0); nothing when the program is to run.
std::optional<int> answer_arguments(const Arguments& arguments, const std::string& program,
                                    const std::string& usage, int port_count);

}  // namespace common

// Lumbra's usage: the command-line string explained, for --help and the /? box.
#pragma once

#include <string>

namespace lumbra {

// The usage line, the pieces of the string and examples; `program` is how the user starts it
// and `example_path` a lookup file's path in the platform's form.
std::string command_line_help(const std::string& program, const std::string& example_path);

}  // namespace lumbra

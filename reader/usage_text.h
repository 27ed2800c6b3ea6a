// Ravelo's usage: the command-line string explained, for --help and the /? box.
#pragma once

#include <string>

namespace ravelo {

// The usage line, every piece of the string and examples; `program` is how the user starts it
// and `absolute_example` an absolute output path in the platform's form.
std::string command_line_help(const std::string& program, const std::string& absolute_example);

}  // namespace ravelo

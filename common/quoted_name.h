// A command-line tail whose file name came in double quotes, as Windows callers hand it over.
#pragma once

#include <string>

namespace common {

// The tail without one pair of double quotes that encloses either the whole tail
// ("C:\My Data\x.txt,1,1", a caller quoting its one argument) or the name piece before the
// first comma ("C:\My Data\x.txt",1,1, as Explorer, shortcuts and batch files quote a path).
// Blanks outside the pair go with it. A name with any other quote in it stays as it is.
std::string without_name_quotes(const std::string& tail);

// The tail as the program reads it: unquoted only where a quote cannot be part of a name.
std::string command_line_text(const std::string& tail);

}  // namespace common

// The settings string another program may pass on the reader's command line.
#pragma once

#include <string>

#include "reader/reader.h"

namespace ravelo {

// Longer strings are refused whole: a cut one loses its last digits, or names another file.
inline constexpr std::size_t kMaxCommandLineChars = 255;

// "name,P?B?M?C?L?E?R?A?O?interval": a non-empty tail replaces the settings (except
// `directory`) and decides command_line_mode; an empty tail changes nothing. A tail over
// kMaxCommandLineChars characters changes nothing either: it is reported, whatever the error
// switch, and false says that nothing must run.
// Where no file name holds a quote, one pair of quotes around the name is not part of it.
[[nodiscard]] bool apply_command_line(Reader& reader, const std::string& tail);

}  // namespace ravelo

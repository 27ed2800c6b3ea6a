// The settings string another program may pass on the reader's command line.
#pragma once

#include <string>

#include "reader/reader.h"

namespace ravelo {

inline constexpr std::size_t kMaxCommandLineChars = 255;

// "name,P?B?M?C?L?E?R?A?O?interval": a non-empty tail replaces the settings (except
// `directory`) and decides command_line_mode; an empty tail changes nothing.
void apply_command_line(Reader& reader, const std::string& tail);

}  // namespace ravelo

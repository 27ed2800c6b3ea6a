// The sender's command-line tail: a lookup file path, then optionally a port and a speed digit.
#pragma once

#include <string>

#include "sender/sender_settings.h"

namespace lumbra {

// Fills lookup_path, command_line_mode, port_index and baud_index from the tail. A tail that is
// empty or begins with a comma leaves the run interactive. False, with nothing changed, for a
// path over kLookupPathLimit characters: a cut one names another file, so nothing must run.
// Where no file name holds a quote, one pair of quotes around the path is not part of it.
[[nodiscard]] bool apply_command_line(SenderSettings& settings, const std::string& tail);

}  // namespace lumbra

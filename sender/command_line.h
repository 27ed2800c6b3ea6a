// The sender's command-line tail: a lookup file path, then optionally a port and a speed digit.
#pragma once

#include <string>

#include "sender/sender_settings.h"

namespace lumbra {

// Fills lookup_path, command_line_mode, port_index and baud_index from the tail. A tail that is
// empty or begins with a comma leaves the run interactive.
void apply_command_line(SenderSettings& settings, const std::string& tail);

}  // namespace lumbra

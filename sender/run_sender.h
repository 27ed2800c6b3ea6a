// The sender's main flow: settings and choices, the lookup file, the port, the attempt loop.
#pragma once

#include <string>

#include "sender/sender.h"

namespace lumbra {

// 1 when the attempt loop ended, 0 when a choice was cancelled or the line settings were
// refused, -1 when the lookup file or the port cannot be opened. sender.loaded tells whether
// the terminal took the whole file.
int run_sender(Sender& sender, const std::string& executable_directory);

}  // namespace lumbra

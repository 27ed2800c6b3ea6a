// The sender's main flow: settings and choices, the lookup file, the port, the attempt loop.
#pragma once

#include <string>

#include "platform/paths.h"
#include "sender/sender.h"

namespace lumbra {

// 1 when the attempt loop ended, 0 when a choice was cancelled or the line settings were
// refused, -1 when the lookup file or the port cannot be opened. sender.loaded tells whether
// the terminal took the whole file.
int run_sender(Sender& sender, const platform::ProgramFolders& folders);
// Both folders the same, as on Windows: the executable's directory.
inline int run_sender(Sender& sender, const std::string& executable_directory) {
    return run_sender(sender,
                      platform::ProgramFolders{executable_directory, executable_directory, {}});
}

}  // namespace lumbra

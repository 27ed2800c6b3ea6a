// The reader's hidden main window: its creation loads the settings; it lives for one run.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "platform/paths.h"
#include "reader/reader.h"

namespace ravelo {

// Registers the "Ravelo" class, creates the hidden window (which loads the settings as the
// folders say), calls `run`, then destroys the window. 0 when the window cannot be set up;
// otherwise 1, even when `run` ends by an exception: the run is over either way.
int run_with_hidden_window(HINSTANCE instance, Reader& reader,
                           const platform::ProgramFolders& folders,
                           const std::function<void()>& run);

}  // namespace ravelo

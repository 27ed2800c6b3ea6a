// Lumbra's hidden main window of the class "lookup": it exists for the one run of the program.
#pragma once

#include <windows.h>

#include <functional>

namespace lumbra {

// Registers the class "lookup" with the icon "LOOKUP" from `resources`, creates the hidden main
// window (no title, as large as the screen, at 2, 2), calls `run`, then destroys the window and
// unregisters the class. An exception from `run` ends the run there. Returns the exit code,
// which is 0 on every path, also when the window cannot be set up (`run` is then not called).
int run_with_main_window(HINSTANCE instance, HINSTANCE resources, const std::function<void()>& run);

}  // namespace lumbra

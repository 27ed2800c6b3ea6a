// The Open dialog in which the user picks the lookup file.
#pragma once

#include <windows.h>

#include "sender/sender_settings.h"

namespace lumbra {

// Opens in settings.directory proposing settings.lookup_path (a file name); true with the
// chosen file's full path in lookup_path, false when cancelled.
bool choose_lookup_file(SenderSettings& settings, HWND owner);

}  // namespace lumbra

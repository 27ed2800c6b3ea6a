// Names as the wide file API takes them, beyond the classic MAX_PATH limit.
#pragma once

#include <string>

namespace platform {

// The path made full (a relative name from the current directory, "." and ".." resolved, "/"
// as "\") and then in the "\\?\" form, which has no MAX_PATH limit: a directory of 255
// characters and a name of 255 still open. A path that cannot be made full is passed as given.
// `unasked_device`, when given, says whether the system made the name a device path that the
// name itself did not ask for ("C:\data\NUL.TXT" is "\\.\NUL").
std::wstring system_path(const std::string& path, bool* unasked_device = nullptr);

}  // namespace platform

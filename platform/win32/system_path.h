// Names as the wide file API takes them, beyond the classic MAX_PATH limit.
#pragma once

#include <string>

namespace platform {

// The path made full (a relative name from the current directory, "." and ".." resolved, "/"
// as "\") and then in the "\\?\" form, which has no MAX_PATH limit: a directory of 255
// characters and a name of 255 still open. A path that cannot be made full is passed as given.
std::wstring system_path(const std::string& path);

}  // namespace platform

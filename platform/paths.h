// Path conventions of the platform: separator and the executable's own directory.
#pragma once

#include <string>

namespace platform {

// "\\" on Windows, "/" elsewhere.
char path_separator();
// Also accepts "/" on Windows, where both separate directories.
bool is_path_separator(char c);
// The directory holding the running executable, with its trailing separator.
std::string executable_directory();

// directory + separator (only where needed) + name.
std::string join_path(const std::string& directory, const std::string& name);

}  // namespace platform

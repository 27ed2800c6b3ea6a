// The short (8.3) form of a path, which spells a folder in letters any code page holds.
#pragma once

#include <string>

namespace platform {

// The short form of an existing path; empty when the platform has no such forms or the path
// cannot be found. A volume with short names turned off gives the path back unchanged.
std::string short_path_form(const std::string& path);

}  // namespace platform

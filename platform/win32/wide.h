// UTF-8 <-> UTF-16 for the wide Win32 API; the programs keep their text in UTF-8.
#pragma once

#include <string>

namespace platform {

std::wstring to_wide(const std::string& utf8);
std::string from_wide(const std::wstring& wide);

}  // namespace platform

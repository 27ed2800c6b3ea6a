// The environment through the wide API, so a path in any script reads correctly.
#include "platform/environment.h"

#include <windows.h>

#include <vector>

#include "platform/win32/wide.h"

namespace platform {

std::string environment_variable(const std::string& name) {
    const std::wstring wide_name = to_wide(name);
    const DWORD size = GetEnvironmentVariableW(wide_name.c_str(), nullptr, 0);
    if (size == 0) return {};
    std::vector<wchar_t> value(size);
    const DWORD n = GetEnvironmentVariableW(wide_name.c_str(), value.data(), size);
    return n > 0 && n < size ? from_wide(std::wstring(value.data(), n)) : std::string();
}

}  // namespace platform

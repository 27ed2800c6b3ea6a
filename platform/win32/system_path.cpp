// Full, long-path-form names for CreateFileW and the other file calls.
#include "platform/win32/system_path.h"

#include <windows.h>

#include <vector>

#include "platform/device_path.h"
#include "platform/paths.h"
#include "platform/win32/wide.h"

namespace platform {

std::wstring system_path(const std::string& path, bool* unasked_device) {
    if (unasked_device) *unasked_device = false;
    const std::wstring given = to_wide(path);
    if (given.empty()) return given;
    const DWORD size = GetFullPathNameW(given.c_str(), 0, nullptr, nullptr);
    if (size == 0) return given;
    std::vector<wchar_t> full(size);
    const DWORD n = GetFullPathNameW(given.c_str(), size, full.data(), nullptr);
    if (n == 0 || n >= size) return given;
    const std::string full_path = from_wide(std::wstring(full.data(), n));
    if (unasked_device) *unasked_device = is_unasked_device_path(path, full_path);
    return to_wide(long_path_form(full_path));
}

}  // namespace platform

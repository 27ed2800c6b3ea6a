// Short (8.3) path forms from the file system, for settings lines stored in code page 1250.
#include "platform/short_path.h"

#include <windows.h>

#include <vector>

#include "platform/win32/wide.h"

namespace platform {

// Asked twice: once for the size, once for the text. A path that grew in between (renamed by
// someone else) is asked for again with the new size.
std::string short_path_form(const std::string& path) {
    const std::wstring long_path = to_wide(path);
    if (long_path.empty()) return {};
    DWORD size = GetShortPathNameW(long_path.c_str(), nullptr, 0);
    for (int attempt = 0; size != 0 && attempt < 3; ++attempt) {
        std::vector<wchar_t> buffer(size);
        const DWORD n = GetShortPathNameW(long_path.c_str(), buffer.data(), size);
        if (n == 0) return {};
        if (n < size) return from_wide(std::wstring(buffer.data(), n));
        size = n;  // too small: n is the size needed, with the terminating null
    }
    return {};
}

}  // namespace platform

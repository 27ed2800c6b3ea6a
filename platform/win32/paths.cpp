// Windows path conventions: backslash, and the directory of the running .exe.
#include "platform/paths.h"

#include <windows.h>

#include <vector>

#include "platform/win32/wide.h"

namespace platform {

char path_separator() {
    return '\\';
}

bool is_path_separator(char c) {
    return c == '\\' || c == '/';
}

std::string executable_directory() {
    // MAX_PATH is not a limit for module names; grow until the whole name fits.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return std::string(".") + path_separator();
        if (n < buffer.size()) {
            std::wstring name(buffer.data(), n);
            const std::size_t cut = name.find_last_of(L"\\/");
            return from_wide(cut == std::wstring::npos ? std::wstring(L".\\")
                                                       : name.substr(0, cut + 1));
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace platform

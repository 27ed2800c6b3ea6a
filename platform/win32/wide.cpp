// Wide strings for Win32 built on the shared UTF-16 conversion (wchar_t is 16 bits on Windows).
#include "platform/win32/wide.h"

#include "platform/text.h"

namespace platform {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 wide characters are UTF-16 units");

std::wstring to_wide(const std::string& utf8) {
    const std::u16string u16 = utf8_to_utf16(utf8);
    return std::wstring(u16.begin(), u16.end());
}

std::string from_wide(const std::wstring& wide) {
    const std::u16string u16(wide.begin(), wide.end());
    return utf16_to_utf8(u16);
}

}  // namespace platform

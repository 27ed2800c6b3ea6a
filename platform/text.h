// Text conversion: UTF-8 inside the programs, code page 1250 in settings files, UTF-16 for Win32.
#pragma once

#include <string>
#include <string_view>

namespace platform {

std::string cp1250_to_utf8(std::string_view bytes);
// Characters with no code page 1250 form become '?'.
std::string utf8_to_cp1250(std::string_view text);

std::u16string utf8_to_utf16(std::string_view text);
std::string utf16_to_utf8(std::u16string_view text);

}  // namespace platform

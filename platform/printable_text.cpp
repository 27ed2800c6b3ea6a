// Control characters in names shown escaped.
#include "platform/printable_text.h"

namespace platform {

std::string printable(std::string_view text) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string shown;
    shown.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            shown += c;
            continue;
        }
        shown += "\\x";
        shown += kDigits[byte >> 4];
        shown += kDigits[byte & 0x0F];
    }
    return shown;
}

}  // namespace platform

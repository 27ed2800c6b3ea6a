// Naming the file encoding, and a received record converted for the file.
#include "common/file_charset.h"

#include <cctype>

#include "platform/text.h"

namespace common {

namespace {

std::string lower_case(std::string_view text) {
    std::string out;
    for (char c : text) out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace

std::optional<FileCharset> parse_file_charset(std::string_view name) {
    const std::string lower = lower_case(name);
    if (lower == "cp1250") return FileCharset::cp1250;
    if (lower == "utf-8" || lower == "utf8") return FileCharset::utf8;
    return std::nullopt;
}

std::string record_for_file(FileCharset charset, std::string_view record) {
    if (charset == FileCharset::cp1250) return std::string(record);
    return platform::cp1250_to_utf8_keeping_undefined(record);
}

}  // namespace common

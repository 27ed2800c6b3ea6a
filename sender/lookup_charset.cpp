// UTF-8 lookup files: the terminal shows code page 1250, and its 253-byte limit counts those
// bytes, so the whole file is converted first and a line it cannot hold is named before sending.
#include "sender/lookup_charset.h"

#include <cstdio>
#include <optional>
#include <string_view>

#include "platform/text.h"
#include "sender/lookup_lines.h"
#include "sender/sender_messages.h"

namespace lumbra {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string read_all(LookupSource& source) {
    source.seek_to_start();
    std::string bytes;
    std::uint8_t block[64 * 1024];
    for (std::size_t n; (n = source.read(block, sizeof block)) > 0;) {
        bytes.append(reinterpret_cast<const char*>(block), n);
    }
    return bytes;
}

// The number, from 1, of the line that holds text[at]; line ends as the records have them.
int line_at(std::string_view text, std::size_t at) {
    bool after_cr = false;
    int line = 1;
    for (std::size_t i = 0; i < at; ++i) {
        if (classify_byte(static_cast<std::uint8_t>(text[i]), after_cr) == ByteRole::line_end) {
            ++line;
        }
    }
    return line;
}

// Controls, invisible and direction-changing characters would be no help raw in a message.
bool shows_as_itself(char32_t c) {
    return c >= 0xA0 && !(c >= 0x200B && c <= 0x200F) && !(c >= 0x2028 && c <= 0x202E) &&
           !(c >= 0x2060 && c <= 0x206F) && c != 0xFEFF && !(c >= 0xFFF0 && c <= 0xFFFF) &&
           !(c >= 0xE0000 && c <= 0xE007F);
}

std::string character_text(std::string_view text, std::size_t at) {
    const char32_t c = platform::code_point_at(text, at);
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
    if (!shows_as_itself(c)) return code;
    const std::string_view raw = text.substr(at, platform::utf8_sequence_length(text, at));
    return "„" + std::string(raw) + "“ (" + code + ")";
}

std::string refusal(std::string_view text, std::size_t at) {
    const int line = line_at(text, at);
    const auto byte = static_cast<unsigned char>(text[at]);
    if (platform::utf8_sequence_length(text, at) == 1 && byte >= 0x80) {
        return malformed_line_message(line, byte);
    }
    return unencodable_line_message(line, character_text(text, at));
}

}  // namespace

std::string convert_lookup_file(Sender& sender) {
    LookupSource& source = sender.lookup;
    if (sender.file_charset == common::FileCharset::cp1250 || source.is_converted()) return {};
    const std::string bytes = read_all(source);
    source.seek_to_start();
    if (source.read_failed()) return kCannotReadFile;
    std::string_view text = bytes;
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        text.remove_prefix(kByteOrderMark.size());
    }
    std::size_t failed_at = 0;
    std::optional<std::string> converted = platform::utf8_to_cp1250_exactly(text, &failed_at);
    if (!converted) return refusal(text, failed_at);
    source.hold_converted(std::move(*converted));
    return {};
}

}  // namespace lumbra

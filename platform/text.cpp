// Code page 1250 and UTF-16 conversions, table driven, the same on every platform.
#include "platform/text.h"

#include <array>
#include <cstdint>

namespace platform {
namespace {

// Unicode of the bytes 0x80..0xFF; 0xFFFD marks the five bytes that code page 1250 leaves unused.
constexpr std::array<std::uint16_t, 128> kHighHalf = {
    0x20AC, 0xFFFD, 0x201A, 0xFFFD, 0x201E, 0x2026, 0x2020, 0x2021, 0xFFFD, 0x2030, 0x0160, 0x2039,
    0x015A, 0x0164, 0x017D, 0x0179, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0xFFFD, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141,
    0x00A4, 0x0104, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB,
    0x013D, 0x02DD, 0x013E, 0x017C, 0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3,
    0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, 0x010D, 0x00E9, 0x0119, 0x00EB,
    0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

void append_utf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The range a well-formed sequence allows for its second byte: it rules out overlong forms,
// encoded surrogates and values above U+10FFFF, which must never pass as other characters.
struct SecondByte {
    unsigned char low;
    unsigned char high;
};

SecondByte second_byte_range(unsigned char lead) {
    switch (lead) {
        case 0xE0:
            return {0xA0, 0xBF};
        case 0xED:
            return {0x80, 0x9F};
        case 0xF0:
            return {0x90, 0xBF};
        case 0xF4:
            return {0x80, 0x8F};
        default:
            return {0x80, 0xBF};
    }
}

int continuation_count(unsigned char lead) {
    if (lead < 0x80) return 0;
    if (lead >= 0xC2 && lead <= 0xDF) return 1;
    if (lead >= 0xE0 && lead <= 0xEF) return 2;
    if (lead >= 0xF0 && lead <= 0xF4) return 3;
    return -1;
}

struct Decoded {
    char32_t code_point;
    std::size_t length;  // bytes taken; 1 for a malformed byte
};

// One character at text[i]; a byte that starts no well-formed sequence is U+FFFD on its own.
Decoded decode_at(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    const int extra = continuation_count(lead);
    if (extra == 0) return {lead, 1};
    if (extra < 0 || text.size() - i <= static_cast<std::size_t>(extra)) return {0xFFFD, 1};
    const SecondByte second = second_byte_range(lead);
    if (byte(i + 1) < second.low || byte(i + 1) > second.high) return {0xFFFD, 1};
    char32_t c = lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return {0xFFFD, 1};
        c = (c << 6) | (byte(i + k) & 0x3F);
    }
    return {c, static_cast<std::size_t>(extra) + 1};
}

char32_t next_code_point(std::string_view text, std::size_t& i) {
    const Decoded decoded = decode_at(text, i);
    i += decoded.length;
    return decoded.code_point;
}

// The code page's byte for a character, or -1 when it has none.
int cp1250_byte(char32_t c) {
    if (c < 0x80) return static_cast<int>(c);
    if (c == 0xFFFD) return -1;
    for (std::size_t k = 0; k < kHighHalf.size(); ++k) {
        if (kHighHalf[k] == c) return static_cast<int>(0x80 + k);
    }
    return -1;
}

}  // namespace

std::size_t utf8_sequence_length(std::string_view text, std::size_t i) {
    return decode_at(text, i).length;
}

std::string_view first_characters(std::string_view text, std::size_t limit) {
    std::size_t end = 0;
    for (std::size_t count = 0; end < text.size() && count < limit; ++count) {
        end += utf8_sequence_length(text, end);
    }
    return text.substr(0, end);
}

std::string_view first_bytes(std::string_view text, std::size_t limit) {
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t next = end + utf8_sequence_length(text, end);
        if (next > limit) break;
        end = next;
    }
    return text.substr(0, end);
}

std::string cp1250_to_utf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        append_utf8(out, b < 0x80 ? b : kHighHalf[b - 0x80]);
    }
    return out;
}

std::string utf8_to_cp1250(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const int byte = cp1250_byte(next_code_point(text, i));
        out += byte < 0 ? '?' : static_cast<char>(byte);
    }
    return out;
}

std::string cp1250_to_utf8_keeping_undefined(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b >= 0x80 && kHighHalf[b - 0x80] == 0xFFFD) {
            out += ch;
        } else {
            append_utf8(out, b < 0x80 ? b : kHighHalf[b - 0x80]);
        }
    }
    return out;
}

std::optional<std::string> utf8_to_cp1250_exactly(std::string_view text, std::size_t* failed_at) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t at = i;
        const bool malformed = utf8_sequence_length(text, i) == 1 && (text[i] & 0x80) != 0;
        const int byte = cp1250_byte(next_code_point(text, i));
        if (malformed || byte < 0) {
            *failed_at = at;
            return std::nullopt;
        }
        out += static_cast<char>(byte);
    }
    return out;
}

char32_t code_point_at(std::string_view text, std::size_t i) {
    return decode_at(text, i).code_point;
}

bool is_valid_utf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); i += utf8_sequence_length(text, i)) {
        if (utf8_sequence_length(text, i) == 1 && (text[i] & 0x80) != 0) return false;
    }
    return true;
}

std::u16string utf8_to_utf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t c = next_code_point(text, i);
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

std::string utf16_to_utf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD;
        }
        append_utf8(out, c);
    }
    return out;
}

}  // namespace platform

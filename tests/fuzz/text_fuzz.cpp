// Fuzz target: text conversion between UTF-8, UTF-16 and code page 1250, and the length caps.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/text.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

bool has_lone_surrogate(const std::u16string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00) {
            if (i + 1 >= text.size() || text[i + 1] < 0xDC00 || text[i + 1] >= 0xE000) return true;
            ++i;
        } else if (c >= 0xDC00 && c < 0xE000) {
            return true;
        }
    }
    return false;
}

// The five bytes code page 1250 leaves unused come back as '?'; every other byte as itself.
void check_cp1250_round_trip(const std::string& bytes) {
    const std::string back = platform::utf8_to_cp1250(platform::cp1250_to_utf8(bytes));
    fuzz::require(back.size() == bytes.size(), "one byte per code page 1250 character");
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        const bool unused = b == 0x81 || b == 0x83 || b == 0x88 || b == 0x90 || b == 0x98;
        fuzz::require(back[i] == (unused ? '?' : bytes[i]), "code page 1250 round trip");
    }
}

// A record's bytes survive UTF-8 and back unless the code page leaves one undefined; a lookup
// line the code page takes reads back as itself.
void check_data_file_conversions(const std::string& bytes) {
    std::size_t failed_at = 0;
    const std::optional<std::string> back = platform::utf8_to_cp1250_exactly(
        platform::cp1250_to_utf8_keeping_undefined(bytes), &failed_at);
    const bool undefined = bytes.find_first_of("\x81\x83\x88\x90\x98") != std::string::npos;
    fuzz::require(undefined ? !back : back == bytes, "a record survives UTF-8 and back");
    const std::optional<std::string> line = platform::utf8_to_cp1250_exactly(bytes, &failed_at);
    fuzz::require(!line || platform::cp1250_to_utf8(*line) == bytes,
                  "an accepted lookup line reads back as itself");
}

void check_utf16_round_trip(const std::string& text) {
    const std::u16string wide = platform::utf8_to_utf16(text);
    fuzz::require(!has_lone_surrogate(wide), "no lone surrogate reaches the wide API");
    const std::string clean = platform::utf16_to_utf8(wide);
    fuzz::require(platform::utf16_to_utf8(platform::utf8_to_utf16(clean)) == clean,
                  "well-formed text survives UTF-16 unchanged");
    fuzz::require(fuzz::characters(clean) == fuzz::characters(text),
                  "each malformed byte becomes one replacement character");
}

void check_caps(const std::string& text, std::size_t limit) {
    const std::string_view chars = platform::first_characters(text, limit);
    fuzz::require(text.compare(0, chars.size(), chars) == 0, "a character cap keeps a prefix");
    fuzz::require(fuzz::characters(std::string(chars)) == std::min(limit, fuzz::characters(text)),
                  "a character cap keeps exactly that many characters");
    const std::string_view bytes = platform::first_bytes(text, limit);
    fuzz::require(bytes.size() <= limit && text.compare(0, bytes.size(), bytes) == 0,
                  "a byte cap keeps a prefix within the limit");
    fuzz::require(bytes.size() == text.size() ||
                      bytes.size() + platform::utf8_sequence_length(text, bytes.size()) > limit,
                  "a byte cap stops only where the next character would not fit");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = fuzz::as_string(data, size);
    check_cp1250_round_trip(text);
    check_utf16_round_trip(text);
    check_data_file_conversions(text);
    check_caps(text, size > 0 ? data[0] % 64 : 0);
    return 0;
}

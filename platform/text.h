// Text conversion: UTF-8 inside the programs, code page 1250 in settings files, UTF-16 for Win32.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Malformed UTF-8 (a stray byte, a cut sequence, an overlong form, an encoded surrogate, a value
// above U+10FFFF) is taken byte by byte: each byte is one character, converted to U+FFFD.

// Bytes of the character at text[i]: 1 to 4, or 1 for a byte of malformed input.
std::size_t utf8_sequence_length(std::string_view text, std::size_t i);
// The first `limit` characters.
std::string_view first_characters(std::string_view text, std::size_t limit);
// At most `limit` bytes, never cutting a well-formed character in two.
std::string_view first_bytes(std::string_view text, std::size_t limit);

std::string cp1250_to_utf8(std::string_view bytes);
// Characters with no code page 1250 form become '?'.
std::string utf8_to_cp1250(std::string_view text);

// As cp1250_to_utf8, but the five bytes the code page leaves undefined stay as they are: data
// converted for a reader keeps every byte it had, even where that cannot be valid UTF-8.
std::string cp1250_to_utf8_keeping_undefined(std::string_view bytes);
// Code page 1250 of the text when it holds every character; otherwise nothing, and *failed_at is
// the offset of the first character it lacks or of the first byte of malformed input.
std::optional<std::string> utf8_to_cp1250_exactly(std::string_view text, std::size_t* failed_at);
// The character at text[i]; U+FFFD for a byte of malformed input.
char32_t code_point_at(std::string_view text, std::size_t i);
bool is_valid_utf8(std::string_view text);

std::u16string utf8_to_utf16(std::string_view text);
std::string utf16_to_utf8(std::u16string_view text);

}  // namespace platform

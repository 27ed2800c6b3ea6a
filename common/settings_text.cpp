// Parsing and writing the lines of a settings file, the same way for both programs.
#include "common/settings_text.h"

#include "platform/file.h"
#include "platform/paths.h"
#include "platform/system_error.h"
#include "platform/text.h"

namespace common {

namespace {

// Text fields are code page 1250 on disk; cut at the byte limit before converting.
std::string text_field(const std::string& bytes, std::size_t from, std::size_t to) {
    std::size_t length = to - from;
    if (length > kSettingsTextLimit) length = kSettingsTextLimit;
    return platform::cp1250_to_utf8(std::string_view(bytes).substr(from, length));
}

// Position just after the CR LF that ends the line starting at `from`, or npos; *cr is the
// first CR at or after `from`.
std::size_t line_end(const std::string& bytes, std::size_t from, std::size_t* cr) {
    *cr = bytes.find('\r', from);
    if (*cr == std::string::npos || *cr + 1 >= bytes.size() || bytes[*cr + 1] != '\n') {
        return std::string::npos;
    }
    return *cr + 2;
}

}  // namespace

SettingsLines split_settings_lines(const std::string& bytes) {
    SettingsLines lines;
    std::size_t cr = 0;
    const std::size_t second = line_end(bytes, 0, &cr);
    if (second == std::string::npos) {
        lines.first = text_field(bytes, 0, bytes.size());
        return lines;
    }
    lines.first = text_field(bytes, 0, cr);
    lines.has_second = true;
    lines.digits = line_end(bytes, second, &cr);
    lines.second = text_field(bytes, second, lines.digits == std::string::npos ? bytes.size() : cr);
    return lines;
}

std::string settings_text_line(const std::string& utf8) {
    return platform::utf8_to_cp1250(utf8) + kSettingsLineEnd;
}

std::string settings_digit_line(int value, char base) {
    return std::string(1, static_cast<char>(base + value)) + kSettingsLineEnd;
}

void take_digit(char digit, char first, char last, int* field) {
    if (digit >= first && digit <= last) *field = digit - first;
}

void take_digit_fields(const std::string& text, std::size_t start, std::size_t stride,
                       std::initializer_list<DigitField> fields) {
    std::size_t position = start;
    for (const DigitField& field : fields) {
        if (position >= text.size()) return;
        take_digit(text[position], field.first, field.last, field.value);
        position += stride;
    }
}

bool write_settings_file(const std::string& path, const std::string& bytes, std::string* reason) {
    std::string ignored;
    std::string& why = reason ? *reason : ignored;
    if (!platform::make_directories(platform::directory_part(path))) {
        why = platform::last_system_error();
        return false;
    }
    platform::FileError error = platform::FileError::none;
    platform::File file = platform::File::open(path, platform::Creation::create_always, &error);
    if (!file.is_open()) {
        why = platform::last_system_error();
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        why = platform::last_system_error();
        return false;
    }
    return true;
}

}  // namespace common

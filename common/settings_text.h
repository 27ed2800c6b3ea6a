// The habits both settings files share: code page 1250 on disk, CR LF after every line, two
// text lines, then one-character digit lines; each program has its own table of digit fields.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>

namespace common {

inline const char* const kSettingsLineEnd = "\r\n";
constexpr std::size_t kSettingsTextLimit = 255;  // bytes of a text line, as the file stores it
constexpr std::size_t kDigitLineStride = 3;      // a digit, CR, LF

// The two leading text lines (UTF-8, each cut at kSettingsTextLimit bytes) and where the digit
// lines start. A line counts as ended only by CR directly followed by LF: when line 1 has no
// such end, `first` is the whole content; when line 2 has none, `second` is the whole rest.
struct SettingsLines {
    std::string first;
    std::string second;
    bool has_second = false;
    std::size_t digits = std::string::npos;  // offset of the first digit line
};

SettingsLines split_settings_lines(const std::string& bytes);

// A text line as the file stores it: code page 1250 and CR LF.
std::string settings_text_line(const std::string& utf8);
// One character base + value, and CR LF.
std::string settings_digit_line(int value, char base);

// A one-character field: value = character - first when it lies in first..last.
struct DigitField {
    int* value;
    char first;
    char last;
};

// Sets *field to digit - first when digit lies in first..last; otherwise leaves it.
void take_digit(char digit, char first, char last, int* field);
// One character per field, `stride` apart from `start`; a field whose character is missing or
// out of range keeps its value.
void take_digit_fields(const std::string& text, std::size_t start, std::size_t stride,
                       std::initializer_list<DigitField> fields);

// Rewrites a settings file whole, creating its folder first (the Linux settings folder may not
// exist yet). False, with the system's reason when asked for, when any step failed.
bool write_settings_file(const std::string& path, const std::string& bytes, std::string* reason);

}  // namespace common

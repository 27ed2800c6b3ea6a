// The habits both settings files share: code page 1250 on disk (UTF-8 on Linux), written with
// CR LF after every line, two text lines, then one-character digit lines; each program has its
// own digit table.
#pragma once

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace common {

inline const char* const kSettingsLineEnd = "\r\n";
// Bytes of a text line as a code page 1250 file stores it; characters in a UTF-8 file.
constexpr std::size_t kSettingsTextLimit = 255;

// The two leading text lines (UTF-8, each cut at kSettingsTextLimit) and up to
// `field_lines` lines after them, as bytes. CR LF, LF and CR alone each end a line, so files
// saved by other editors read alike; when line 1 has no end, `first` is the whole content.
struct SettingsLines {
    std::string first;
    std::string second;
    bool has_second = false;
    std::vector<std::string> fields;
};

SettingsLines split_settings_lines(const std::string& bytes, std::size_t field_lines);
// The first character of each field line; '\0', which no field accepts, for an empty one.
std::string field_characters(const std::vector<std::string>& fields);
// The lines of the settings file at `path`; none when it cannot be read.
std::optional<SettingsLines> read_settings_lines(const std::string& path, std::size_t field_lines);

// A text line as the file stores it: in the platform's encoding, and CR LF.
std::string settings_text_line(const std::string& utf8);
// One character base + value, and CR LF.
std::string settings_digit_line(int value, char base);

// A one-character field: value = character - first when it lies in first..last.
struct DigitField {
    int* value;
    char first;
    char last;
};

// The digit of the last of `count` choices numbered from 1: the port and speed lists' sizes.
constexpr char last_choice_digit(int count) {
    return static_cast<char>('0' + count);
}

// Sets *field to digit - first when digit lies in first..last; otherwise leaves it.
void take_digit(char digit, char first, char last, int* field);
// One character per field, `stride` apart from `start`; a field whose character is missing or
// out of range keeps its value.
void take_digit_fields(const std::string& text, std::size_t start, std::size_t stride,
                       std::initializer_list<DigitField> fields);

// What a path line stores: the path when the file's encoding holds it exactly (a letter code
// page 1250 lacks would be stored as "?", which names no file), else its short (8.3) form (asked
// for only then; empty when it has none), else the line as the settings file read at start held it.
// None when none of them is held: the line cannot be stored so that it reads back as the same path.
std::optional<std::string> path_line_text(
    const std::string& path, const std::function<std::string(const std::string&)>& short_form,
    const std::optional<std::string>& earlier);

// Puts in `directory` and `file_name` what their lines store (path_line_text), the earlier
// lines taken from the settings file at `earlier_path`; a name with no such form is stored
// empty. False, with the reason, when the directory has none: the file is better left as it is.
bool paths_to_store(const std::string& earlier_path, std::string& directory, std::string& file_name,
                    std::string* reason);

// The settings file read at start: the program's own, or, while that does not exist yet, the one
// in `first_start_folder` (beside the executable, put there by an administrator) when given.
std::string starting_settings_file(const std::string& own_path, bool own_exists,
                                   const std::string& first_start_folder,
                                   const std::string& file_name);

// The short form of a bare file name in `directory`; empty when it has none, or when `name` is
// empty or holds a separator.
std::string short_file_name(const std::string& directory, const std::string& name);

// Rewrites a settings file whole, creating its folder first (the Linux settings folder may not
// exist yet). False, with the system's reason when asked for, when any step failed.
bool write_settings_file(const std::string& path, const std::string& bytes, std::string* reason);

}  // namespace common

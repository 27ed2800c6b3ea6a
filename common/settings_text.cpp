// Parsing and writing the lines of a settings file, the same way for both programs.
#include "common/settings_text.h"

#include <algorithm>

#include "platform/file.h"
#include "platform/paths.h"
#include "platform/short_path.h"
#include "platform/system_error.h"
#include "platform/text.h"

namespace common {

namespace {

// Text lines are UTF-8 on disk where the platform keeps its settings so (Linux), else code page
// 1250; a file that is not valid UTF-8 (an older one) reads as code page 1250 everywhere. These
// are the only conversions, so that what is checked before saving is what the file will hold.
bool writes_utf8() {
    return platform::settings_files_are_utf8();
}
bool reads_as_utf8(std::string_view bytes) {
    return writes_utf8() && platform::is_valid_utf8(bytes);
}
std::string to_file_text(const std::string& utf8) {
    return writes_utf8() ? utf8 : platform::utf8_to_cp1250(utf8);
}
std::string from_file_text(std::string_view bytes, bool utf8) {
    return utf8 ? std::string(bytes) : platform::cp1250_to_utf8(bytes);
}

// The limit counts characters in UTF-8, so that every line code page 1250 held still fits.
std::string_view cut_to_limit(std::string_view text, bool utf8) {
    return utf8 ? platform::first_characters(text, kSettingsTextLimit)
                : text.substr(0, kSettingsTextLimit);
}

std::string text_field(const std::string& bytes, std::size_t from, std::size_t to, bool utf8) {
    return from_file_text(cut_to_limit(std::string_view(bytes).substr(from, to - from), utf8),
                          utf8);
}

// One line from `begin`: its text ends at the first CR or LF, and the next line starts after
// CR LF, LF or CR; `next` is npos when the line runs to the end of the file.
struct Line {
    std::size_t begin;
    std::size_t end;
    std::size_t next;
};

Line line_at(const std::string& bytes, std::size_t begin) {
    const std::size_t end = std::min(bytes.find_first_of("\r\n", begin), bytes.size());
    if (end == bytes.size()) return {begin, end, std::string::npos};
    const bool cr_lf = bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n';
    return {begin, end, end + (cr_lf ? 2 : 1)};
}

// The first candidate the file holds exactly, so that it reads back as it stands: every
// character in the file's encoding, and within the limit a line is read with.
std::optional<std::string> first_held(const std::vector<std::string>& candidates) {
    const bool utf8 = writes_utf8();
    for (const std::string& text : candidates) {
        const std::string stored = to_file_text(text);
        if (utf8 && !platform::is_valid_utf8(stored)) continue;
        if (cut_to_limit(stored, utf8).size() == stored.size() &&
            from_file_text(stored, utf8) == text) {
            return text;
        }
    }
    return std::nullopt;
}

}  // namespace

SettingsLines split_settings_lines(const std::string& bytes, std::size_t field_lines) {
    SettingsLines lines;
    const bool utf8 = reads_as_utf8(bytes);
    const Line first = line_at(bytes, 0);
    lines.first = text_field(bytes, 0, first.end, utf8);
    if (first.next == std::string::npos) return lines;
    lines.has_second = true;
    const Line second = line_at(bytes, first.next);
    lines.second = text_field(bytes, second.begin, second.end, utf8);
    for (std::size_t next = second.next;
         next != std::string::npos && lines.fields.size() < field_lines;) {
        const Line field = line_at(bytes, next);
        lines.fields.push_back(
            bytes.substr(field.begin, std::min(field.end - field.begin, kSettingsTextLimit)));
        next = field.next;
    }
    return lines;
}

std::string field_characters(const std::vector<std::string>& fields) {
    std::string characters;
    for (const std::string& field : fields) characters += field.empty() ? '\0' : field[0];
    return characters;
}

std::optional<SettingsLines> read_settings_lines(const std::string& path, std::size_t field_lines) {
    std::string bytes;
    if (!platform::read_whole_file(path, &bytes)) return std::nullopt;
    return split_settings_lines(bytes, field_lines);
}

std::string settings_text_line(const std::string& utf8) {
    return to_file_text(utf8) + kSettingsLineEnd;
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

std::optional<std::string> path_line_text(
    const std::string& path, const std::function<std::string(const std::string&)>& short_form,
    const std::optional<std::string>& earlier) {
    if (first_held({path})) return path;
    std::vector<std::string> candidates;
    const std::string short_path = short_form(path);
    if (!short_path.empty()) candidates.push_back(short_path);
    if (earlier) candidates.push_back(*earlier);
    return first_held(candidates);
}

std::string short_file_name(const std::string& directory, const std::string& name) {
    if (name.empty() || std::any_of(name.begin(), name.end(), platform::is_path_separator)) {
        return {};
    }
    const std::string full = platform::short_path_form(platform::join_path(directory, name));
    const std::size_t cut = full.find_last_of(platform::path_separator());
    return cut == std::string::npos ? full : full.substr(cut + 1);
}

bool paths_to_store(const std::string& earlier_path, std::string& directory, std::string& file_name,
                    std::string* reason) {
    const std::optional<SettingsLines> earlier = read_settings_lines(earlier_path, 0);
    const std::optional<std::string> held_directory =
        path_line_text(directory, platform::short_path_form,
                       earlier ? std::optional<std::string>(earlier->first) : std::nullopt);
    if (!held_directory) {
        if (reason) {
            *reason = "složku " + directory + " nelze zapsat v " +
                      (writes_utf8() ? "UTF-8" : "kódové stránce 1250");
        }
        return false;
    }
    const auto short_name = [&](const std::string& name) {
        return short_file_name(directory, name);
    };
    file_name = path_line_text(file_name, short_name, earlier ? earlier->second : std::string())
                    .value_or(std::string());
    directory = *held_directory;
    return true;
}

std::string starting_settings_file(const std::string& own_path, bool own_exists,
                                   const std::string& first_start_folder,
                                   const std::string& file_name) {
    if (own_exists || first_start_folder.empty()) return own_path;
    return platform::join_path(first_start_folder, file_name);
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

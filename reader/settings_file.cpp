// Reads and writes "Ravelo.ini": two text lines, nine one-character fields, then the interval.
#include "reader/settings_file.h"

#include "common/settings_text.h"
#include "platform/file.h"
#include "platform/paths.h"
#include "reader/settings_digits.h"

namespace ravelo {

namespace {
constexpr std::size_t kIntervalLine = 9;  // after the nine digit lines
}  // namespace

std::string format_settings_file(const ReaderSettings& s) {
    using common::settings_digit_line;
    std::string out =
        common::settings_text_line(s.directory) + common::settings_text_line(s.file_name) +
        settings_digit_line(s.port_index, '1') + settings_digit_line(s.baud_index, '1') +
        settings_digit_line(s.file_mode, '1');
    for (int flag :
         {s.append_cr, s.append_lf, s.show_errors, s.show_received, s.always_ask, s.online}) {
        out += settings_digit_line(flag, '0');
    }
    return out + std::to_string(s.poll_interval);
}

void parse_settings_file(const std::string& bytes, ReaderSettings& settings) {
    const common::SettingsLines lines = common::split_settings_lines(bytes, kIntervalLine + 1);
    settings.directory = lines.first;
    if (!lines.has_second) return;
    settings.file_name = lines.second;
    take_setting_digits(common::field_characters(lines.fields), 0, 1, settings);
    const long interval = lines.fields.size() > kIntervalLine
                              ? parse_leading_number(lines.fields[kIntervalLine], 0)
                              : 0;
    settings.poll_interval = clamp_poll_interval(interval);
}

void load_settings(Reader& reader, const platform::ProgramFolders& folders) {
    reader.settings.directory = folders.data;
    reader.settings_path = platform::join_path(folders.settings, kSettingsFileName);
    reader.starting_settings_path = common::starting_settings_file(
        reader.settings_path, platform::file_exists(reader.settings_path), folders.first_start,
        kSettingsFileName);
    std::string bytes;
    if (!platform::read_whole_file(reader.starting_settings_path, &bytes)) return;
    parse_settings_file(bytes, reader.settings);
}

bool save_settings(const Reader& reader, std::string* reason) {
    ReaderSettings stored = reader.settings;
    if (!common::paths_to_store(reader.starting_settings_path, stored.directory, stored.file_name,
                                reason)) {
        return false;
    }
    return common::write_settings_file(reader.settings_path, format_settings_file(stored), reason);
}

}  // namespace ravelo

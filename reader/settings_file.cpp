// Reads and writes "Ravelo.ini": two text lines, nine one-character fields, then the interval.
#include "reader/settings_file.h"

#include "common/settings_text.h"
#include "platform/file.h"
#include "platform/paths.h"
#include "reader/settings_digits.h"

namespace ravelo {

namespace {
constexpr std::size_t kIntervalOffset = 27;
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
    const common::SettingsLines lines = common::split_settings_lines(bytes);
    settings.directory = lines.first;
    if (!lines.has_second) return;
    settings.file_name = lines.second;
    if (lines.digits == std::string::npos) {
        settings.poll_interval = kDefaultPollInterval;
        return;
    }
    take_setting_digits(bytes, lines.digits, common::kDigitLineStride, settings);
    const std::size_t interval_at = lines.digits + kIntervalOffset;
    const long interval = interval_at < bytes.size() ? parse_leading_number(bytes, interval_at) : 0;
    settings.poll_interval = clamp_poll_interval(interval);
}

void load_settings(Reader& reader, const platform::ProgramFolders& folders) {
    reader.settings.directory = folders.data;
    reader.settings_path = platform::join_path(folders.settings, kSettingsFileName);
    std::string bytes;
    if (!platform::read_whole_file(reader.settings_path, &bytes)) return;
    parse_settings_file(bytes, reader.settings);
}

bool save_settings(const Reader& reader, std::string* reason) {
    return common::write_settings_file(reader.settings_path, format_settings_file(reader.settings),
                                       reason);
}

}  // namespace ravelo

// Reads and writes "Lumbra.ini": the chooser's directory and file name, the port and the speed.
#include "sender/settings_file.h"

#include "common/port_labels.h"
#include "common/settings_text.h"
#include "platform/file.h"
#include "platform/paths.h"

namespace lumbra {

std::string format_settings_file(const SenderSettings& s) {
    return common::settings_text_line(s.directory) + common::settings_text_line(s.file_name) +
           common::settings_digit_line(s.port_index, '1') +
           common::settings_digit_line(s.baud_index, '1');
}

// A port or speed character out of range keeps the default: the program writes only digits
// in range, and an index past the lists would name no port and no speed.
void parse_settings_file(const std::string& bytes, SenderSettings& settings) {
    const common::SettingsLines lines = common::split_settings_lines(bytes, 2);
    settings.directory = lines.first;
    if (!lines.has_second) return;
    settings.file_name = lines.second;
    common::take_digit_fields(
        common::field_characters(lines.fields), 0, 1,
        {
            {&settings.port_index, '1', common::last_choice_digit(common::kSenderPortCount)},
            {&settings.baud_index, '1', common::last_choice_digit(common::kBaudRateCount)},
        });
}

void load_settings(Sender& sender, const platform::ProgramFolders& folders) {
    sender.settings.directory = folders.data;
    sender.settings_path = platform::join_path(folders.settings, kSettingsFileName);
    sender.starting_settings_path = common::starting_settings_file(
        sender.settings_path, platform::file_exists(sender.settings_path), folders.first_start,
        kSettingsFileName);
    std::string bytes;
    if (!platform::read_whole_file(sender.starting_settings_path, &bytes)) return;
    parse_settings_file(bytes, sender.settings);
}

bool save_settings(const Sender& sender, std::string* reason) {
    if (sender.settings_path.empty()) return true;
    SenderSettings stored = sender.settings;
    if (!common::paths_to_store(sender.starting_settings_path, stored.directory, stored.file_name,
                                reason)) {
        return false;
    }
    return common::write_settings_file(sender.settings_path, format_settings_file(stored), reason);
}

}  // namespace lumbra

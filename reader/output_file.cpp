// Opens the output file: overwrite, append, new file only, or a fresh automatic name.
#include "reader/output_file.h"

#include <cstdio>

#include "platform/file.h"
#include "platform/file_failure.h"
#include "platform/paths.h"
#include "reader/reader_messages.h"

namespace ravelo {

namespace {
void report_failure(Reader& reader, const std::string& text) {
    if (reader.settings.show_errors) reader.boxes.show_message(kErrorCaption, text);
}

// The message with the file and the system's reason, where the platform's messages give them.
std::string open_failure(const Reader& reader, const char* text, const std::string& path) {
    return platform::file_failure_message(text, path, reader.output.system_error());
}

char month_character(int month) {
    if (month >= 1 && month <= 9) return static_cast<char>('0' + month);
    if (month >= 10 && month <= 12) return static_cast<char>('A' + month - 10);
    return '0';
}

char suffix_character(int suffix) {
    if (suffix < 10) return static_cast<char>('0' + suffix);
    return static_cast<char>('A' + suffix - 10);
}

bool open_with(Reader& reader, platform::Creation creation, const char* failure_text) {
    platform::FileError error = platform::FileError::none;
    reader.output = platform::File::open(reader.output_path, creation, &error);
    if (reader.output.is_open()) return true;
    report_failure(reader, open_failure(reader, failure_text, reader.output_path));
    return false;
}

bool open_for_append(Reader& reader) {
    platform::FileError error = platform::FileError::none;
    reader.output =
        platform::File::open(reader.output_path, platform::Creation::open_always, &error);
    if (reader.output.is_open()) reader.output.seek_to_end();
    return true;
}

// The text an automatic name follows. An absolute file name says where the file goes, in
// automatic mode too; any other name leaves the automatic names in `directory`.
std::string automatic_folder(const ReaderSettings& settings) {
    const std::string& name = settings.file_name;
    if (!platform::is_absolute_path(name)) return platform::join_path(settings.directory, "");
    const std::string folder = platform::directory_part(name);
    return folder.empty() ? name.substr(0, 2) : folder;  // "C:name": the drive's own folder
}

bool open_automatic(Reader& reader) {
    const platform::LocalTime time = reader.clock.local_time();
    const std::string folder = automatic_folder(reader.settings);
    const auto path_for = [&](int suffix) { return folder + automatic_name(time, suffix); };
    const std::optional<int> suffix = search_automatic_name(time.minute % 10, [&](int candidate) {
        platform::FileError error = platform::FileError::none;
        reader.output =
            platform::File::open(path_for(candidate), platform::Creation::create_new, &error);
        return error;
    });
    if (suffix) {
        reader.output_path = path_for(*suffix);
        return true;
    }
    report_failure(reader, open_failure(reader, kCannotOpenOrCreateFile, folder));
    return false;
}
}  // namespace

OutputOpening output_opening(const ReaderSettings& settings) {
    switch (settings.file_mode) {
        case 1:
            return OutputOpening::append;
        case 2:
            return settings.online ? OutputOpening::overwrite : OutputOpening::new_file_only;
        case 3:
            return OutputOpening::automatic_name;
        default:
            return settings.online ? OutputOpening::automatic_name : OutputOpening::overwrite;
    }
}

std::string build_output_path(const ReaderSettings& settings) {
    return platform::resolve_path(settings.directory, settings.file_name);
}

std::string automatic_name(const platform::LocalTime& time, int suffix) {
    char name[32];
    std::snprintf(name, sizeof name, "%d%c%02d%02d%d%c.TXT", ((time.year % 10) + 10) % 10,
                  month_character(time.month), time.day % 100, time.hour % 100,
                  (time.minute / 10) % 10, suffix_character(suffix));
    return name;
}

std::optional<int> search_automatic_name(
    int first, const std::function<platform::FileError(int suffix)>& create) {
    for (int suffix = first; suffix <= kLastNameSuffix; ++suffix) {
        const platform::FileError error = create(suffix);
        if (error == platform::FileError::none) return suffix;
        if (error != platform::FileError::exists && error != platform::FileError::access_denied) {
            break;
        }
    }
    return std::nullopt;
}

bool open_output_file(Reader& reader) {
    switch (output_opening(reader.settings)) {
        case OutputOpening::overwrite:
            return open_with(reader, platform::Creation::create_always, kCannotOpenOrCreateFile);
        case OutputOpening::append:
            return open_for_append(reader);
        case OutputOpening::new_file_only:
            return open_with(reader, platform::Creation::create_new, kFileAlreadyExists);
        case OutputOpening::automatic_name:
            return open_automatic(reader);
    }
    return false;
}

}  // namespace ravelo

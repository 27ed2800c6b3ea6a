// The reader's settings file "Ravelo.ini" in the settings folder: loading and rewriting it.
#pragma once

#include <string>

#include "platform/paths.h"
#include "reader/reader.h"
#include "reader/reader_settings.h"

namespace ravelo {

inline const char* const kSettingsFileName = "Ravelo.ini";

// Sets settings_path in the settings folder and the default directory to the data folder, then
// applies the settings file when it can be read. A missing or malformed file is not an error.
void load_settings(Reader& reader, const platform::ProgramFolders& folders);
// Both folders the same, as on Windows: the executable's directory.
inline void load_settings(Reader& reader, const std::string& executable_directory) {
    load_settings(reader, platform::ProgramFolders{executable_directory, executable_directory, {}});
}

// Rewrites the settings file whole, creating its folder first; false with the system's reason
// when it could not.
bool save_settings(const Reader& reader, std::string* reason = nullptr);

// The file's content (code page 1250 bytes) and its parsing, apart from the file itself.
std::string format_settings_file(const ReaderSettings& settings);
void parse_settings_file(const std::string& bytes, ReaderSettings& settings);

}  // namespace ravelo

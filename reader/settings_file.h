// The reader's settings file "Ravelo.ini" beside the executable: loading and rewriting it.
#pragma once

#include <string>

#include "reader/reader.h"
#include "reader/reader_settings.h"

namespace ravelo {

inline const char* const kSettingsFileName = "Ravelo.ini";

// Sets settings_path and the default directory from the executable's directory, then applies
// the settings file when it can be read. A missing or malformed file is not an error.
void load_settings(Reader& reader, const std::string& executable_directory);

// Rewrites the settings file whole; a failure is silent.
void save_settings(const Reader& reader);

// The file's content (code page 1250 bytes) and its parsing, apart from the file itself.
std::string format_settings_file(const ReaderSettings& settings);
void parse_settings_file(const std::string& bytes, ReaderSettings& settings);

}  // namespace ravelo

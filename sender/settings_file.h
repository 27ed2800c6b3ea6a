// The sender's settings file "Lumbra.ini" beside the executable: loading and rewriting it.
#pragma once

#include <string>

#include "sender/sender.h"

namespace lumbra {

inline const char* const kSettingsFileName = "Lumbra.ini";

// Sets settings_path and the default directory from the executable's directory, then applies
// the settings file when it can be read. A missing or malformed file is not an error.
void load_settings(Sender& sender, const std::string& executable_directory);
// Rewrites the settings file whole; a failure is silent.
void save_settings(const Sender& sender);

// The file's content (code page 1250 bytes) and its parsing, apart from the file itself.
std::string format_settings_file(const SenderSettings& settings);
void parse_settings_file(const std::string& bytes, SenderSettings& settings);

}  // namespace lumbra

// The sender's settings file "Lumbra.ini" in the settings folder: loading and rewriting it.
#pragma once

#include <string>

#include "platform/paths.h"
#include "sender/sender.h"

namespace lumbra {

inline const char* const kSettingsFileName = "Lumbra.ini";

// Sets settings_path in the settings folder and the chooser's directory to the data folder, then
// applies the settings file when it can be read. A missing or malformed file is not an error.
void load_settings(Sender& sender, const platform::ProgramFolders& folders);
// Rewrites the settings file whole, creating its folder first; false with the system's reason
// when it could not. Nothing is written, and that is no failure, without a settings_path.
bool save_settings(const Sender& sender, std::string* reason = nullptr);

// The file's content (code page 1250 bytes) and its parsing, apart from the file itself.
std::string format_settings_file(const SenderSettings& settings);
void parse_settings_file(const std::string& bytes, SenderSettings& settings);

}  // namespace lumbra

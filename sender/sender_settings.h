// The sender's settings record, as "Lumbra.ini" and the command-line tail store it.
#pragma once

#include <cstddef>
#include <string>

namespace lumbra {

constexpr std::size_t kLookupPathLimit = 299;    // characters of a command line's lookup path
constexpr std::size_t kSettingsTextLimit = 255;  // bytes of the directory and the file name

struct SenderSettings {
    std::string lookup_path;  // UTF-8; the file to send
    std::string directory;    // where the chooser opens; settings file line 1
    std::string file_name;    // the name the chooser proposes; settings file line 2
    int port_index = 0;       // COM1..COM6
    int baud_index = 0;       // 115200, 57600, 38400, 19200, 9600
    bool command_line_mode = false;
};

}  // namespace lumbra

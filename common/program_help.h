// What a program says about itself when asked, instead of starting a transfer.
#pragma once

#include <string>

namespace common {

enum class HelpRequest { none, usage, version };

// The platform's way of asking: "--help", "-h" or "--version" as the whole command-line
// string on POSIX, "/?" on Windows (a file name cannot hold "?", so no working string is lost).
HelpRequest help_request(const std::string& tail);

// "ravelo 4.10": the program's name and the project's version.
std::string version_line(const std::string& program);

// The Windows help's word on ports past the program's list (USB adapters are often COM10 and
// above, and renumbering one needs an administrator): the variable that points a port there.
std::string windows_port_note();

}  // namespace common

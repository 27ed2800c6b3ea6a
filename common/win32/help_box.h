// The usage box a Windows program shows for "/?" instead of starting its run.
#pragma once

#include <string>

namespace common {

// Shows `usage` in a message box titled `caption` when the command-line string is "/?"; true
// then, and the program ends without opening anything.
bool show_help_if_asked(const std::string& tail, const std::string& caption,
                        const std::string& usage);

}  // namespace common

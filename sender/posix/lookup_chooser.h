// The lookup file chooser as a prompt on the terminal, for the POSIX front end.
#pragma once

#include <string>
#include <vector>

#include "common/posix/form_terminal.h"
#include "sender/sender_settings.h"

namespace lumbra {

// The *.TXT files of a directory (the extension in any letter case), sorted by name without
// regard to case; empty when the directory cannot be read.
std::vector<std::string> lookup_files_in(const std::string& directory);

// Proposes settings.directory and the name in settings.lookup_path, lists the directory's
// lookup files as numbered choices and takes a number or a path (relative to the directory);
// a directory's path lists that directory instead. Asks again until the file exists. True with
// the file's full path in settings.lookup_path; false when cancelled: Esc, end of input, or an
// empty answer with nothing proposed.
bool run_lookup_chooser(SenderSettings& settings, common::FormTerminal& terminal);
// The same on the controlling terminal; false without one.
bool show_lookup_chooser(SenderSettings& settings);

}  // namespace lumbra

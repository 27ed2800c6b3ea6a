// A lookup file written in UTF-8, turned into the terminal's code page 1250 before it is checked.
#pragma once

#include <string>

#include "sender/sender.h"

namespace lumbra {

// With UTF-8 files: reads the whole lookup source, converts it and holds the result, so that the
// line check and the records count the terminal's bytes; once for each opened file. A byte order
// mark at its start is dropped. Empty when the source is ready to send, else the message that
// refuses it (a character the code page lacks, malformed UTF-8, a failed read; nothing held).
std::string convert_lookup_file(Sender& sender);

}  // namespace lumbra

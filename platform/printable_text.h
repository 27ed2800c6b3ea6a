// Names as a terminal line shows them: a file name may hold any byte but '/' and NUL.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Control characters (below 0x20, and DEL) written as \xNN, so that a name holding a line break
// or an escape sequence is seen as it is and cannot move the cursor or recolour the screen.
std::string printable(std::string_view text);

}  // namespace platform

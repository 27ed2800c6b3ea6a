// The operating system's own words for why the last call failed, for messages that name it.
#pragma once

#include <string>

namespace platform {

// errno's text on POSIX, GetLastError's on Windows; call it right after the failed call.
std::string last_system_error();

}  // namespace platform

// How a failed file is told to the user: the program's message, and where the system gives it,
// the file and the reason.
#pragma once

#include <string>

namespace platform {

// `message` for the file at `path` whose open, read or write failed with `system_error`
// (File::system_error). POSIX: the path and the system's reason follow on the next line, a full
// disk said as such. Windows: the message alone, as it has always read.
std::string file_failure_message(const std::string& message, const std::string& path,
                                 int system_error);

}  // namespace platform

// Why a port could not be opened or stopped working on Linux, in words a user can act on.
#pragma once

#include <string>

namespace platform {

// The port, its device and the reason for `error` (an errno value), with what to do about a
// missing adapter or a missing permission.
std::string describe_open_failure(const std::string& port_name, const std::string& device,
                                  int error);

// The port, its device and why it stopped working: `error` (an errno value) from a read or
// write, or 0 for a hang-up; with the usual cause, an adapter pulled out.
std::string describe_line_failure(const std::string& port_name, const std::string& device,
                                  int error);

}  // namespace platform

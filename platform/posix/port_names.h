// Which device a port such as COM1 stands for on POSIX.
#pragma once

#include <string>

namespace platform {

// Port n (from 1) is the device in the environment variable VELMORA_COMn when it is set, else
// /dev/ttyS<n-1>. Empty for 0, which is no port.
std::string device_for_port(unsigned port_number);

}  // namespace platform

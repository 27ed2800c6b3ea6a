// Which device a port name such as "COM1" stands for on POSIX.
#pragma once

#include <string>

namespace platform {

// "COMn" (n from 1) names the device in the environment variable VELMORA_COMn when it is set,
// else /dev/ttyS<n-1>. False for any other name.
bool device_for_port(const std::string& port_name, std::string* device);

}  // namespace platform

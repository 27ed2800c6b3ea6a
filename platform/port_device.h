// Port names and the environment variable that points a port at another device.
#pragma once

#include <string>

namespace platform {

// "COM12" for 12: the name a user reads and Windows knows the port by.
std::string com_port_name(unsigned port_number);

// The n of "COMn": digits only, no leading zero, 1..256, "COM" in any letter case; 0 for any
// other name.
unsigned com_port_number(const std::string& name);

// "VELMORA_COMn" for the port n; empty for 0, which is no port.
std::string port_variable(unsigned port_number);

// Windows: the device that the port opens, given its variable's value (`redirect`, empty when it
// is not set): the port itself as "\\.\COMn", or the port the value names ("COM12" or "com12"
// gives "\\.\COM12"), or a value that is already a device name ("\\.\..."), as it stands. False
// for any other value: it names no Windows port (a Linux device path in a shared script, say),
// and opening the port itself instead would quietly use the wrong one.
bool windows_port_device(unsigned port_number, const std::string& redirect, std::string* device);

}  // namespace platform

// The serial devices of this machine and what the ports COM1..COMn open, for --ports.
#pragma once

#include <string>
#include <vector>

namespace platform {

// Where the scan looks; a test gives it a tree of its own.
struct SurveyRoots {
    std::string dev = "/dev";
    std::string sys = "/sys";
};

// Whether this user may open a device, and if not, what stands in the way.
struct DeviceAccess {
    bool exists = false;
    bool permitted = false;
    std::string group;      // the device's group, when its members may use it
    bool in_group = false;  // this user is a member of `group`
};

// One port of the program's list.
struct PortEntry {
    std::string port;            // "COM1"
    std::string device;          // what it opens
    bool from_variable = false;  // VELMORA_COMn chose the device
    DeviceAccess access;
};

// A serial device present, with its stable names (/dev/serial/by-id/...) that lead to it.
struct SerialDevice {
    std::string path;
    std::vector<std::string> stable_names;
    std::string port;  // the first port of the list that opens it; empty when none does
};

struct PortSurvey {
    std::vector<PortEntry> ports;
    std::vector<SerialDevice> devices;
};

// COM1..COM<port_count> and the devices present: ttyS ports with a UART behind them, ttyUSB and
// ttyACM, in that order and by number. A port's default device is taken under roots.dev.
PortSurvey survey_ports(const SurveyRoots& roots, int port_count);

}  // namespace platform

// Port names to device paths: the environment may point any port at a pseudo-terminal.
#include "platform/posix/port_names.h"

#include <cstdlib>

namespace platform {
namespace {

constexpr unsigned kHighestPort = 256;

// The number after "COM": digits only, no leading zero, 1..kHighestPort.
bool port_number(const std::string& name, unsigned* number) {
    if (name.size() < 4 || name.size() > 6) return false;
    for (std::size_t i = 0; i < 3; ++i) {
        if ((name[i] & ~0x20) != "COM"[i]) return false;
    }
    if (name[3] == '0') return false;
    unsigned value = 0;
    for (std::size_t i = 3; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9') return false;
        value = value * 10 + static_cast<unsigned>(name[i] - '0');
    }
    if (value > kHighestPort) return false;
    *number = value;
    return true;
}

}  // namespace

bool device_for_port(const std::string& port_name, std::string* device) {
    unsigned number = 0;
    if (!port_number(port_name, &number)) return false;
    std::string variable = "VELMORA_COM" + std::to_string(number);
    const char* chosen = std::getenv(variable.c_str());
    if (chosen && *chosen) {
        *device = chosen;
    } else {
        *device = "/dev/ttyS" + std::to_string(number - 1);
    }
    return true;
}

}  // namespace platform

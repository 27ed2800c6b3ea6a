// Port numbers to device paths: the environment may point any port at a pseudo-terminal.
#include "platform/posix/port_names.h"

#include <cstdlib>

#include "platform/port_device.h"

namespace platform {

std::string device_for_port(unsigned port_number) {
    if (port_number == 0) return {};
    const char* chosen = std::getenv(port_variable(port_number).c_str());
    if (chosen && *chosen) return chosen;
    return "/dev/ttyS" + std::to_string(port_number - 1);
}

}  // namespace platform

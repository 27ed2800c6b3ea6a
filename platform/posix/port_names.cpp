// Port names to device paths: the environment may point any port at a pseudo-terminal.
#include "platform/posix/port_names.h"

#include <cstdlib>

#include "platform/port_device.h"

namespace platform {

bool device_for_port(const std::string& port_name, std::string* device) {
    const unsigned number = com_port_number(port_name);
    if (number == 0) return false;
    const char* chosen = std::getenv(port_variable(port_name).c_str());
    if (chosen && *chosen) {
        *device = chosen;
    } else {
        *device = "/dev/ttyS" + std::to_string(number - 1);
    }
    return true;
}

}  // namespace platform

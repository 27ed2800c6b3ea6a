// Port names, the variable that may point a port elsewhere, and what Windows opens for them.
#include "platform/port_device.h"

namespace platform {

namespace {

constexpr unsigned kHighestPort = 256;
const char* const kDevicePrefix = "\\\\.\\";

bool starts_with(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

std::string com_port_name(unsigned port_number) {
    return "COM" + std::to_string(port_number);
}

unsigned com_port_number(const std::string& name) {
    if (name.size() < 4 || name.size() > 6) return 0;
    for (std::size_t i = 0; i < 3; ++i) {
        if ((name[i] & ~0x20) != "COM"[i]) return 0;
    }
    if (name[3] == '0') return 0;
    unsigned value = 0;
    for (std::size_t i = 3; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9') return 0;
        value = value * 10 + static_cast<unsigned>(name[i] - '0');
    }
    return value <= kHighestPort ? value : 0;
}

std::string port_variable(unsigned port_number) {
    return port_number == 0 ? std::string() : "VELMORA_" + com_port_name(port_number);
}

bool windows_port_device(unsigned port_number, const std::string& redirect, std::string* device) {
    if (redirect.empty()) {
        *device = kDevicePrefix + com_port_name(port_number);
        return true;
    }
    if (starts_with(redirect, kDevicePrefix) && redirect.size() > 4) {
        *device = redirect;
        return true;
    }
    const unsigned number = com_port_number(redirect);
    if (number == 0) return false;
    *device = kDevicePrefix + com_port_name(number);
    return true;
}

}  // namespace platform

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

std::string port_variable(const std::string& port_name) {
    const unsigned number = com_port_number(port_name);
    return number == 0 ? std::string() : "VELMORA_COM" + std::to_string(number);
}

bool windows_port_device(const std::string& port_name, const std::string& redirect,
                         std::string* device) {
    if (redirect.empty()) {
        *device = kDevicePrefix + port_name;
        return true;
    }
    if (starts_with(redirect, kDevicePrefix) && redirect.size() > 4) {
        *device = redirect;
        return true;
    }
    const unsigned number = com_port_number(redirect);
    if (number == 0) return false;
    *device = kDevicePrefix + ("COM" + std::to_string(number));
    return true;
}

}  // namespace platform

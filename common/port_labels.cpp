// The port and speed lists, built from one table so labels and speeds cannot drift apart.
#include "common/port_labels.h"

#include "platform/port_device.h"

namespace common {

std::string port_name(int port_index) {
    return platform::com_port_name(static_cast<unsigned>(port_index) + 1);
}

std::vector<std::string> port_labels(int count) {
    std::vector<std::string> labels;
    for (int i = 0; i < count; ++i) labels.push_back(port_name(i));
    return labels;
}

const std::vector<std::string>& baud_labels() {
    static const std::vector<std::string> labels = [] {
        std::vector<std::string> out;
        for (std::uint32_t baud : kBaudRates) out.push_back(std::to_string(baud));
        return out;
    }();
    return labels;
}

}  // namespace common

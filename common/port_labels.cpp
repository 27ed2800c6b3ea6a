// The port and speed lists, built from one table so labels and speeds cannot drift apart.
#include "common/port_labels.h"

namespace common {

std::string port_name(int port_index) {
    return "COM" + std::to_string(port_index + 1);
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

std::string with_detail(const std::string& message, const platform::SerialPorts& ports) {
    const std::string detail = ports.failure_detail();
    return detail.empty() ? message : message + "\n" + detail;
}

}  // namespace common

// --ports in words: one line per port, the remedy for a missing group, the devices to copy.
#include "common/posix/ports_report.h"

#include <unistd.h>

#include <algorithm>

#include "common/port_labels.h"
#include "common/posix/form_fields.h"
#include "common/posix/terminal_io.h"
#include "platform/posix/port_names.h"
#include "platform/printable_text.h"

namespace common {

namespace {

std::string access_text(const platform::DeviceAccess& access) {
    if (!access.exists) return "neexistuje";
    if (access.permitted) return "lze otevřít";
    if (!access.group.empty() && !access.in_group) {
        return "nelze otevřít, nejste ve skupině " + access.group;
    }
    return "nelze otevřít, chybí právo číst a zapisovat";
}

std::string port_line(const platform::PortEntry& entry) {
    const std::string source = entry.from_variable ? " (VELMORA_" + entry.port + ")" : "";
    return "  " + entry.port + " = " + platform::printable(entry.device) + source + ": " +
           access_text(entry.access) + "\n";
}

// The group a user may join to reach the ports, when one stands in the way.
std::string missing_group(const platform::PortSurvey& survey) {
    for (const platform::PortEntry& entry : survey.ports) {
        const platform::DeviceAccess& a = entry.access;
        if (a.exists && !a.permitted && !a.group.empty() && !a.in_group) return a.group;
    }
    return "";
}

std::string padded(std::string text, std::size_t width) {
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text;
}

// The device, the port that opens it now, and the line that makes a port open it; a stable
// name in the line survives replugging into another USB socket.
std::string device_line(const platform::SerialDevice& device, std::size_t width) {
    const std::string label = device.path + (device.port.empty() ? "" : " (" + device.port + ")");
    const std::string port = device.port.empty() ? "COM1" : device.port;
    const std::string name = device.stable_names.empty() ? device.path : device.stable_names[0];
    return "  " + padded(label, width) + "  VELMORA_" + port + "=" + name + "\n";
}

std::string devices_text(const platform::PortSurvey& survey) {
    std::string text = "\nSériová zařízení v počítači a řádek ke zkopírování:\n";
    if (survey.devices.empty()) {
        return text + "  žádná (převodník USB se objeví jako /dev/ttyUSB0 nebo /dev/ttyACM0)\n";
    }
    std::size_t width = 0;
    for (const auto& device : survey.devices) {
        const std::size_t port = device.port.empty() ? 0 : device.port.size() + 3;
        width = std::max(width, device.path.size() + port);
    }
    for (const auto& device : survey.devices) text += device_line(device, width);
    return text;
}

}  // namespace

std::string ports_report(const platform::PortSurvey& survey) {
    std::string text =
        "COM porty (COMn otevře zařízení z proměnné VELMORA_COMn, jinak /dev/ttyS<n-1>):\n";
    for (const platform::PortEntry& entry : survey.ports) text += port_line(entry);
    const std::string group = missing_group(survey);
    if (!group.empty()) {
        text += "Porty smějí používat členové skupiny " + group + ": sudo usermod -aG " + group +
                " $USER, pak se odhlaste a znovu přihlaste.\n";
    }
    return text + devices_text(survey);
}

void print_ports_report(int port_count) {
    write_all(STDOUT_FILENO, ports_report(platform::survey_ports({}, port_count)));
}

std::string port_with_device(int port_index, int port_count) {
    const std::string label = choice_label(port_labels(port_count), port_index);
    if (port_index < 0 || port_index >= port_count) return label;
    const std::string device = platform::device_for_port(static_cast<unsigned>(port_index) + 1);
    return label + " (" + platform::printable(device) + ")";
}

}  // namespace common

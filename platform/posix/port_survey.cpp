// Scans /dev and /sys for serial devices and checks what each port of the list would open.
#include "platform/posix/port_survey.h"

#include <dirent.h>
#include <grp.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <tuple>

#include "platform/environment.h"
#include "platform/port_device.h"

namespace platform {

namespace {

const char* const kSerialPrefixes[] = {"ttyS", "ttyUSB", "ttyACM"};
constexpr int kSerialFamilies = 3;

std::vector<std::string> folder_names(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(dir);
    return names;
}

bool user_in_group(gid_t group) {
    if (::getegid() == group) return true;
    const int count = ::getgroups(0, nullptr);
    if (count <= 0) return false;
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    if (::getgroups(count, groups.data()) != count) return false;
    return std::find(groups.begin(), groups.end(), group) != groups.end();
}

DeviceAccess device_access(const std::string& device) {
    DeviceAccess access;
    struct stat info {};
    if (::stat(device.c_str(), &info) != 0) return access;
    access.exists = true;
    access.permitted = ::access(device.c_str(), R_OK | W_OK) == 0;
    // Only a group that may read and write is one worth joining.
    const mode_t group_rw = S_IRGRP | S_IWGRP;
    if (info.st_gid != 0 && (info.st_mode & group_rw) == group_rw) {
        const group* entry = ::getgrgid(info.st_gid);
        access.group = entry && entry->gr_name ? entry->gr_name : std::to_string(info.st_gid);
        access.in_group = user_in_group(info.st_gid);
    }
    return access;
}

PortEntry port_entry(const SurveyRoots& roots, int number) {
    PortEntry entry;
    entry.port = com_port_name(static_cast<unsigned>(number));
    entry.device = environment_variable(port_variable(static_cast<unsigned>(number)));
    entry.from_variable = !entry.device.empty();
    if (!entry.from_variable) entry.device = roots.dev + "/ttyS" + std::to_string(number - 1);
    entry.access = device_access(entry.device);
    return entry;
}

// "ttyUSB12" as (1, 12), the family's place in the list and the number; false for a name
// outside the serial families.
bool serial_name(const std::string& name, int* family, long* number) {
    for (int f = 0; f < kSerialFamilies; ++f) {
        const std::string prefix = kSerialPrefixes[f];
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string digits = name.substr(prefix.size());
        if (digits.size() > 6 || digits.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        *family = f;
        *number = std::stol(digits);
        return true;
    }
    return false;
}

// The 8250 driver makes ttyS0..ttyS31 whether or not a UART answers; its "type" (the UART's
// kind) is 0 when none does. Drivers without the attribute are trusted when they name a device.
bool has_uart(const SurveyRoots& roots, const std::string& name) {
    const std::string node = roots.sys + "/class/tty/" + name;
    std::ifstream type_file(node + "/type");
    int type = 0;
    if (type_file >> type) return type != 0;
    struct stat info {};
    return ::lstat((node + "/device").c_str(), &info) == 0;
}

std::string real_path(const std::string& path) {
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : std::string();
}

void add_stable_names(const SurveyRoots& roots, std::vector<SerialDevice>& devices) {
    const std::string folder = roots.dev + "/serial/by-id";
    std::vector<std::string> links = folder_names(folder);
    std::sort(links.begin(), links.end());
    for (const std::string& link : links) {
        const std::string target = real_path(folder + "/" + link);
        for (SerialDevice& device : devices) {
            if (!target.empty() && real_path(device.path) == target) {
                device.stable_names.push_back(folder + "/" + link);
            }
        }
    }
}

std::vector<SerialDevice> serial_devices(const SurveyRoots& roots) {
    std::vector<std::tuple<int, long, std::string>> found;
    for (const std::string& name : folder_names(roots.dev)) {
        int family = 0;
        long number = 0;
        if (!serial_name(name, &family, &number)) continue;
        if (family == 0 && !has_uart(roots, name)) continue;
        found.emplace_back(family, number, name);
    }
    std::sort(found.begin(), found.end());
    std::vector<SerialDevice> devices;
    for (const auto& entry : found)
        devices.push_back({roots.dev + "/" + std::get<2>(entry), {}, ""});
    add_stable_names(roots, devices);
    return devices;
}

// Through a link such as a by-id name, a port may open the device under another name.
std::string port_opening(const std::vector<PortEntry>& ports, const SerialDevice& device) {
    const std::string target = real_path(device.path);
    for (const PortEntry& entry : ports) {
        if (entry.access.exists && real_path(entry.device) == target) return entry.port;
    }
    return "";
}

}  // namespace

PortSurvey survey_ports(const SurveyRoots& roots, int port_count) {
    PortSurvey survey;
    for (int n = 1; n <= port_count; ++n) survey.ports.push_back(port_entry(roots, n));
    survey.devices = serial_devices(roots);
    for (SerialDevice& device : survey.devices) device.port = port_opening(survey.ports, device);
    return survey;
}

}  // namespace platform

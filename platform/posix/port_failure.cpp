// The detail under "cannot open the port" or "the port stopped working": device, reason, and for
// the usual causes the remedy.
#include "platform/posix/port_failure.h"

#include <errno.h>
#include <grp.h>
#include <sys/stat.h>

#include <cstring>

namespace platform {

namespace {

// The group a user must join: the device's own, unless only root may use it; then the usual one.
std::string port_group(const std::string& device) {
    struct stat info {};
    if (::stat(device.c_str(), &info) == 0 && info.st_gid != 0 && (info.st_mode & S_IRWXG)) {
        const group* entry = ::getgrgid(info.st_gid);
        if (entry && entry->gr_name) return entry->gr_name;
    }
    return "dialout";
}

std::string reason(const std::string& device, int error) {
    switch (error) {
        case ENOTTY:
        case EINVAL:
            return "není to sériový port (terminálové zařízení)";
        case EBUSY:
        case EWOULDBLOCK:
            return "port používá jiný program";
        case EACCES:
        case EPERM: {
            const std::string group = port_group(device);
            return std::string(std::strerror(error)) + "\nPort smějí používat členové skupiny " +
                   group + ": sudo usermod -aG " + group +
                   " $USER, pak se odhlaste a znovu přihlaste.";
        }
        case ENOENT:
        case ENODEV:
        case ENXIO:
            return std::string(std::strerror(error)) +
                   "\nJe převodník USB připojen? Připojené porty: ls /dev/ttyUSB* /dev/ttyACM* "
                   "/dev/ttyS*";
        default:
            return std::strerror(error);
    }
}

}  // namespace

std::string describe_open_failure(const std::string& port_name, const std::string& device,
                                  int error) {
    return port_name + " = " + device + ": " + reason(device, error);
}

std::string describe_line_failure(const std::string& port_name, const std::string& device,
                                  int error) {
    const std::string why = error == 0 ? "zařízení zavěsilo linku" : std::strerror(error);
    return port_name + " = " + device + ": " + why + "\nJe převodník USB připojen?";
}

}  // namespace platform

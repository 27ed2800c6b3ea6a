// The file and the reason under a file message, as the port messages give the device and reason.
#include "platform/file_failure.h"

#include <errno.h>

#include <cstring>

#include "platform/printable_text.h"

namespace platform {

namespace {

// The usual causes in words that say what to do; the rest as the C library words them.
std::string reason(int error) {
    switch (error) {
        case ENOSPC:
            return "disk je plný";
        case EDQUOT:
            return "vyčerpána disková kvóta";
        case EFBIG:
            return "soubor překročil povolenou velikost";
        case EWOULDBLOCK:
            return "soubor používá jiný program";
        case ENXIO:
            return "roura nemá žádného čtenáře";
        default:
            return std::strerror(error);
    }
}

}  // namespace

std::string file_failure_message(const std::string& message, const std::string& path,
                                 int system_error) {
    const std::string named = message + "\n" + printable(path);
    return system_error == 0 ? named : named + ": " + reason(system_error);
}

}  // namespace platform

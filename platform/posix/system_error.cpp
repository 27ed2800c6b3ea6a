// errno in words, as the C library says it.
#include "platform/system_error.h"

#include <cerrno>
#include <cstring>

namespace platform {

std::string last_system_error() {
    return std::strerror(errno);
}

}  // namespace platform

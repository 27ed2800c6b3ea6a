// POSIX file systems have no short names.
#include "platform/short_path.h"

namespace platform {

std::string short_path_form(const std::string&) {
    return {};
}

}  // namespace platform

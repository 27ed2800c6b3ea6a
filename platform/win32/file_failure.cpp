// Windows file messages stay the program's own text alone.
#include "platform/file_failure.h"

namespace platform {

std::string file_failure_message(const std::string& message, const std::string&, int) {
    return message;
}

}  // namespace platform

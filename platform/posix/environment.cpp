// The environment through getenv: its bytes are the text.
#include "platform/environment.h"

#include <cstdlib>

namespace platform {

std::string environment_variable(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    return value ? value : "";
}

}  // namespace platform

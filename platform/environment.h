// The process environment, read as UTF-8 text on every platform.
#pragma once

#include <string>

namespace platform {

// The variable's value; empty when it is not set.
std::string environment_variable(const std::string& name);

}  // namespace platform

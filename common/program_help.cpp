// The version line every program prints; the number comes from the build.
#include "common/program_help.h"

#include "velmora_version.h"

namespace common {

std::string version_line(const std::string& program) {
    return program + " " + VELMORA_VERSION;
}

}  // namespace common

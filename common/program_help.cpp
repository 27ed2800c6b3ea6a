// The version line every program prints; the number comes from the build.
#include "common/program_help.h"

#include "velmora_version.h"

namespace common {

std::string version_line(const std::string& program) {
    return program + " " + VELMORA_VERSION;
}

std::string windows_port_note() {
    return "Port mimo seznam (převodník USB bývá COM10 a výš): proměnná prostředí VELMORA_COMn\n"
           "otevře místo COMn jiný port, např. VELMORA_COM1=COM12 (nebo celé jméno \\\\.\\COM12).";
}

}  // namespace common

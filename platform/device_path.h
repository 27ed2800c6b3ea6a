// Whether a name the user gave reaches a device instead of a file (Windows' reserved names).
#pragma once

#include <string>

namespace platform {

// True when `full_path`, the system's full form of `given`, is a device path ("\\.\NUL") that
// `given` did not ask for. Windows reserves NUL, CON, PRN, AUX, COM1.. and LPT1.. in every
// folder, with any extension on many versions: "C:\data\NUL.TXT" is the null device, which takes
// every byte and keeps none. Asking the system which form it gives, rather than listing the
// names, follows whatever the running version reserves.
bool is_unasked_device_path(const std::string& given, const std::string& full_path);

}  // namespace platform

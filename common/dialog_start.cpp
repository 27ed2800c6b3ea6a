// The proposed path of the file dialogs, from the stored directory and name.
#include "common/dialog_start.h"

#include "platform/paths.h"

namespace common {

std::string dialog_start_path(const std::string& directory, const std::string& file_name) {
    if (file_name.empty()) return {};
    return platform::resolve_path(directory, file_name);
}

}  // namespace common

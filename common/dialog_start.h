// Where the save and open dialogs start: the stored directory and name as one proposed path.
#pragma once

#include <string>

namespace common {

// The file name joined to the directory (a name that is itself absolute stands alone); empty
// when there is no name. The dialogs of Windows 7 and later may ignore their initial directory
// for the last folder used, but not a directory inside the proposed name.
std::string dialog_start_path(const std::string& directory, const std::string& file_name);

}  // namespace common

// Help as a Windows program is asked for it: "/?", blanks around it allowed.
#include "common/program_help.h"

namespace common {

HelpRequest help_request(const std::string& tail) {
    const std::size_t first = tail.find_first_not_of(" \t");
    if (first == std::string::npos) return HelpRequest::none;
    const std::size_t last = tail.find_last_not_of(" \t");
    return tail.substr(first, last - first + 1) == "/?" ? HelpRequest::usage : HelpRequest::none;
}

}  // namespace common

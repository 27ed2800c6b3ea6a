// Help and version as a Linux command-line tool is asked for them.
#include "common/program_help.h"

namespace common {

HelpRequest help_request(const std::string& tail) {
    if (tail == "--help" || tail == "-h") return HelpRequest::usage;
    if (tail == "--version") return HelpRequest::version;
    return HelpRequest::none;
}

}  // namespace common

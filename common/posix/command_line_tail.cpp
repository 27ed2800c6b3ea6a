// Joins the arguments back into the one string the programs' command lines are made of.
#include "common/posix/command_line_tail.h"

namespace common {

namespace {

bool is_known_option(const std::string& arg) {
    return arg == "--help" || arg == "-h" || arg == "--version";
}

// "-" alone is a name, as it is to most tools.
bool looks_like_option(const std::string& arg) {
    return arg.size() > 1 && arg[0] == '-';
}

}  // namespace

Arguments read_arguments(int argc, char** argv) {
    Arguments result;
    bool first_name = true;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (!result.options_ended && first_name && arg == "--") {
            result.options_ended = true;
            continue;
        }
        // Help and version stand alone; beside anything else they are a mistake too.
        const bool known = is_known_option(arg) && argc == 2;
        if (!result.options_ended && looks_like_option(arg) && !known &&
            result.unknown_option.empty()) {
            result.unknown_option = arg;
        }
        if (!first_name) result.tail += ' ';
        result.tail += arg;
        first_name = false;
    }
    return result;
}

}  // namespace common

// Joins the arguments back into the one string the programs' command lines are made of.
#include "common/posix/command_line_tail.h"

#include <vector>

namespace common {

namespace {

bool is_known_option(const std::string& arg) {
    return arg == "--help" || arg == "-h" || arg == "--version" || arg == "--ports";
}

// "-" alone is a name, as it is to most tools.
bool looks_like_option(const std::string& arg) {
    return arg.size() > 1 && arg[0] == '-';
}

constexpr char kCharsetOption[] = "--charset";

// The --charset options before "--" (the last one counts), taken out; the rest as they came.
std::vector<std::string> take_charset_options(int argc, char** argv, Arguments& result) {
    const std::string with_value = std::string(kCharsetOption) + "=";
    std::vector<std::string> rest;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool ended = !rest.empty() && rest.front() == "--";
        if (!ended && arg == kCharsetOption) {
            result.charset = i + 1 < argc ? argv[++i] : "";
        } else if (!ended && arg.compare(0, with_value.size(), with_value) == 0) {
            result.charset = arg.substr(with_value.size());
        } else {
            rest.push_back(arg);
        }
    }
    return rest;
}

}  // namespace

Arguments read_arguments(int argc, char** argv) {
    Arguments result;
    const std::vector<std::string> rest = take_charset_options(argc, argv, result);
    bool first_name = true;
    for (const std::string& arg : rest) {
        if (!result.options_ended && first_name && arg == "--") {
            result.options_ended = true;
            continue;
        }
        // Help, version and ports stand alone; beside anything else they are a mistake too.
        const bool known = is_known_option(arg) && rest.size() == 1;
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

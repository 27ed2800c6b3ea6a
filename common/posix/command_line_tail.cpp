// Joins the arguments back into the one string the programs' command lines are made of.
#include "common/posix/command_line_tail.h"

namespace common {

std::string command_line_tail(int argc, char** argv) {
    std::string tail;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) tail += ' ';
        tail += argv[i];
    }
    return tail;
}

}  // namespace common

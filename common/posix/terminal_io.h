// Small pieces of terminal input and output that both POSIX programs use.
#pragma once

#include <string>

namespace common {

// Writes all of text to fd, retrying short writes; gives up silently when the fd fails.
void write_all(int fd, const std::string& text);
// One line from fd without its line end; false when nothing could be read (end of input).
bool read_line(int fd, std::string& line);
// The controlling terminal for reading and writing, or -1 when the process has none.
int open_controlling_terminal();
// Characters (not bytes) of UTF-8 text, for column arithmetic.
std::size_t characters(const std::string& text);

}  // namespace common

// Small pieces of terminal input and output that both POSIX programs use.
#pragma once

#include <termios.h>

#include <string>

namespace common {

constexpr char kEscape = '\x1b';

// The prompts promise that Esc cancels, so while this lives Esc ends a line on the terminal at
// once, as Enter does, and the terminal's own line editing (erase, kill) keeps working. Set for
// a whole form, so that keys typed ahead are taken the same way. Put back when it ends.
class EscEndsLines {
  public:
    explicit EscEndsLines(int fd);
    ~EscEndsLines();
    EscEndsLines(const EscEndsLines&) = delete;
    EscEndsLines& operator=(const EscEndsLines&) = delete;

  private:
    int fd_;
    termios saved_{};
    bool active_;
};

// Writes all of text to fd, retrying short writes; gives up silently when the fd fails.
void write_all(int fd, const std::string& text);
// One line from fd without its line end; false when nothing could be read (end of input). On a
// terminal, Esc ends the line at once and the line is then Esc alone.
bool read_line(int fd, std::string& line);
// The controlling terminal for reading and writing, or -1 when the process has none.
int open_controlling_terminal();
// Whether a form could be shown: the process has a controlling terminal.
bool has_controlling_terminal();
// Characters (not bytes) of UTF-8 text, for column arithmetic.
std::size_t characters(const std::string& text);

}  // namespace common

// The controlling terminal as a form's terminal: whole lines in, every byte out.
#include "common/posix/form_terminal.h"

#include <unistd.h>

#include "common/posix/terminal_io.h"

namespace common {

TtyFormTerminal::~TtyFormTerminal() {
    escape_ends_lines_.reset();
    if (fd_ >= 0) ::close(fd_);
}

bool TtyFormTerminal::read_line(std::string& line) {
    return common::read_line(fd_, line);
}

void TtyFormTerminal::write(const std::string& text) {
    write_all(fd_, text);
}

}  // namespace common

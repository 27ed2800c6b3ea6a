// Terminal input and output that survives short writes and a missing controlling terminal.
#include "common/posix/terminal_io.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include "platform/stop_signals.h"

namespace common {

void write_all(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

EscEndsLines::EscEndsLines(int fd) : fd_(fd), active_(::tcgetattr(fd, &saved_) == 0) {
    if (!active_) return;
    termios changed = saved_;
    changed.c_cc[VEOL] = static_cast<cc_t>(kEscape);
    active_ = ::tcsetattr(fd_, TCSANOW, &changed) == 0;
}

EscEndsLines::~EscEndsLines() {
    if (active_) ::tcsetattr(fd_, TCSANOW, &saved_);
}

namespace {

// Esc cancels whatever was typed before it; the rest of a key's escape sequence (an arrow key)
// is dropped so that it does not become the next answer.
void end_with_escape(int fd, std::string& line) {
    ::tcflush(fd, TCIFLUSH);
    write_all(fd, "\n");
    line.assign(1, kEscape);
}

}  // namespace

// A stop signal caught during a question ends the input: the question counts as not answered.
bool read_line(int fd, std::string& line) {
    line.clear();
    const bool terminal = ::isatty(fd) == 1;
    char c = 0;
    bool any = false;
    while (!platform::stop_requested() && ::read(fd, &c, 1) == 1) {
        any = true;
        if (c == '\n') return true;
        if (c == kEscape && terminal) {
            end_with_escape(fd, line);
            return true;
        }
        line += c;
    }
    return any;
}

int open_controlling_terminal() {
    return ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
}

bool has_controlling_terminal() {
    const int fd = open_controlling_terminal();
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

std::size_t characters(const std::string& text) {
    std::size_t n = 0;
    for (unsigned char c : text) n += (c & 0xC0) != 0x80;
    return n;
}

}  // namespace common

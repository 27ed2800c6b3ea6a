// Terminal input and output that survives short writes and a missing controlling terminal.
#include "common/posix/terminal_io.h"

#include <fcntl.h>
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

// A stop signal caught during a question ends the input: the question counts as not answered.
bool read_line(int fd, std::string& line) {
    line.clear();
    char c = 0;
    bool any = false;
    while (!platform::stop_requested() && ::read(fd, &c, 1) == 1) {
        any = true;
        if (c == '\n') return true;
        line += c;
    }
    return any;
}

int open_controlling_terminal() {
    return ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
}

std::size_t characters(const std::string& text) {
    std::size_t n = 0;
    for (unsigned char c : text) n += (c & 0xC0) != 0x80;
    return n;
}

}  // namespace common

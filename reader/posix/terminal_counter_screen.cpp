// The terminal's counter line: the cursor is saved at start, the line redrawn and then erased.
#include "reader/posix/terminal_counter_screen.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace ravelo {

namespace {

// Save cursor / restore cursor (DEC), and erase to the end of the line.
constexpr char kSaveCursor[] = "\0337";
constexpr char kRestoreCursor[] = "\0338";
constexpr char kEraseToEnd[] = "\033[K";

struct TerminalSize {
    int columns = 0;
    int rows = 0;
};

TerminalSize size_of(int fd) {
    winsize size{};
    if (fd < 0 || ::ioctl(fd, TIOCGWINSZ, &size) != 0) return {};
    return {size.ws_col, size.ws_row};
}

TerminalSize controlling_terminal_size() {
    const int fd = ::open("/dev/tty", O_RDONLY | O_NOCTTY | O_CLOEXEC);
    const TerminalSize size = size_of(fd);
    if (fd >= 0) ::close(fd);
    return size;
}

void write_all(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) return;  // the overlay never holds up the transfer
        done += static_cast<std::size_t>(n);
    }
}

int utf8_length(const std::string& text) {
    int n = 0;
    for (unsigned char c : text) n += (c & 0xC0) != 0x80;
    return n;
}

// Cut to the terminal's width, so the line never wraps and scrolls what it should restore.
std::string fit(const std::string& text, int columns) {
    if (columns <= 1 || utf8_length(text) < columns) return text;
    std::string out;
    int kept = 0;
    for (unsigned char c : text) {
        const bool starts_character = (c & 0xC0) != 0x80;
        if (starts_character && kept == columns - 1) break;
        kept += starts_character;
        out.push_back(static_cast<char>(c));
    }
    return out;
}

}  // namespace

TerminalCounterScreen::~TerminalCounterScreen() {
    release();
}

int TerminalCounterScreen::screen_width() {
    return controlling_terminal_size().columns;
}

int TerminalCounterScreen::screen_height() {
    return controlling_terminal_size().rows;
}

int TerminalCounterScreen::text_width(const std::string& text) {
    return utf8_length(text);
}

bool TerminalCounterScreen::save_background(const ScreenRect&) {
    release();  // a start without a finish must not leak the previous descriptor
    tty_ = ::open("/dev/tty", O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (tty_ < 0) return false;
    columns_ = size_of(tty_).columns;
    write_all(tty_, kSaveCursor);
    return true;
}

void TerminalCounterScreen::paint_box(const ScreenRect&, const std::string& text) {
    if (tty_ < 0) return;
    write_all(tty_, std::string(kRestoreCursor) + fit(text, columns_) + kEraseToEnd);
}

void TerminalCounterScreen::restore_background(const ScreenRect&) {
    if (tty_ < 0) return;
    write_all(tty_, std::string(kRestoreCursor) + kEraseToEnd);
    release();
}

void TerminalCounterScreen::release() {
    if (tty_ >= 0) ::close(tty_);
    tty_ = -1;
}

}  // namespace ravelo

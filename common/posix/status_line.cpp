// The status line: the cursor saved at open, the line redrawn from there and erased at close.
#include "common/posix/status_line.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "common/posix/terminal_io.h"

namespace common {

namespace {

// Save cursor / restore cursor (DEC), and erase to the end of the line.
constexpr char kSaveCursor[] = "\0337";
constexpr char kRestoreCursor[] = "\0338";
constexpr char kEraseToEnd[] = "\033[K";

TerminalSize size_of(int fd) {
    winsize size{};
    if (fd < 0 || ::ioctl(fd, TIOCGWINSZ, &size) != 0) return {};
    return {size.ws_col, size.ws_row};
}

// Cut to the terminal's width, so the line never wraps and scrolls what it should restore.
std::string fit(const std::string& text, int columns) {
    if (columns <= 1 || static_cast<int>(characters(text)) < columns) return text;
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

TerminalSize controlling_terminal_size() {
    const int fd = ::open("/dev/tty", O_RDONLY | O_NOCTTY | O_CLOEXEC);
    const TerminalSize size = size_of(fd);
    if (fd >= 0) ::close(fd);
    return size;
}

TerminalStatusLine::~TerminalStatusLine() {
    release();
}

bool TerminalStatusLine::open() {
    release();  // an open without a close must not leak the previous descriptor
    tty_ = ::open("/dev/tty", O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (tty_ < 0) return false;
    columns_ = size_of(tty_).columns;
    text_.clear();
    write_all(tty_, kSaveCursor);
    return true;
}

void TerminalStatusLine::show(const std::string& text) {
    if (tty_ < 0) return;
    text_ = text;
    write_all(tty_, std::string(kRestoreCursor) + fit(text, columns_) + kEraseToEnd);
}

void TerminalStatusLine::hide() {
    if (tty_ < 0) return;
    write_all(tty_, std::string(kRestoreCursor) + kEraseToEnd);
}

void TerminalStatusLine::show_again() {
    if (tty_ < 0) return;
    write_all(tty_, kSaveCursor);
    show(text_);
}

void TerminalStatusLine::close() {
    hide();
    release();
}

void TerminalStatusLine::release() {
    if (tty_ >= 0) ::close(tty_);
    tty_ = -1;
}

}  // namespace common

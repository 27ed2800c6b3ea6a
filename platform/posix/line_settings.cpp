// termios for the programs' line: raw 8N1, no flow control, polled reads, DTR and RTS off.
#include "platform/posix/line_settings.h"

#include <errno.h>
#include <sys/ioctl.h>
#include <termios.h>

namespace platform {
namespace {

bool speed_constant(std::uint32_t baud, speed_t* speed) {
    switch (baud) {
        case 115200:
            *speed = B115200;
            return true;
        case 57600:
            *speed = B57600;
            return true;
        case 38400:
            *speed = B38400;
            return true;
        case 19200:
            *speed = B19200;
            return true;
        case 9600:
            *speed = B9600;
            return true;
        default:
            return false;
    }
}

termios wanted_settings(const termios& current, speed_t speed) {
    termios t = current;
    ::cfmakeraw(&t);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    t.c_cflag |= CS8 | CLOCAL | CREAD;
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK | ISTRIP);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    ::cfsetispeed(&t, speed);
    ::cfsetospeed(&t, speed);
    return t;
}

// The bits that would alter or swallow bytes: none may stay on.
constexpr tcflag_t kRawInput = IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON;
constexpr tcflag_t kRawLocal = ECHO | ECHONL | ICANON | ISIG | IEXTEN;

bool same_bits(tcflag_t got, tcflag_t want, tcflag_t mask) {
    return (got & mask) == (want & mask);
}

// Each setting the programs rely on, checked in the order a user would look for it.
std::string first_refused(const termios& got, const termios& want, std::uint32_t baud) {
    if (::cfgetispeed(&got) != ::cfgetispeed(&want) ||
        ::cfgetospeed(&got) != ::cfgetospeed(&want)) {
        return "speed " + std::to_string(baud);
    }
    if (!same_bits(got.c_cflag, want.c_cflag, CSIZE)) return "8 data bits";
    if (!same_bits(got.c_cflag, want.c_cflag, PARENB) ||
        !same_bits(got.c_iflag, want.c_iflag, INPCK)) {
        return "no parity";
    }
    if (!same_bits(got.c_cflag, want.c_cflag, CSTOPB)) return "1 stop bit";
    if (!same_bits(got.c_cflag, want.c_cflag, CRTSCTS)) return "no RTS/CTS flow control";
    if (!same_bits(got.c_iflag, want.c_iflag, IXON | IXOFF | IXANY)) return "no XON/XOFF";
    if (!same_bits(got.c_cflag, want.c_cflag, CLOCAL | CREAD)) return "local line with receiver on";
    if (!same_bits(got.c_iflag, want.c_iflag, kRawInput) ||
        !same_bits(got.c_oflag, want.c_oflag, OPOST) ||
        !same_bits(got.c_lflag, want.c_lflag, kRawLocal)) {
        return "raw bytes";
    }
    if (got.c_cc[VMIN] != 0 || got.c_cc[VTIME] != 0) return "reads that return at once";
    return "";
}

}  // namespace

bool apply_line_settings(int fd, std::uint32_t baud, std::string* refused) {
    speed_t speed;
    if (!speed_constant(baud, &speed)) {
        *refused = "speed " + std::to_string(baud);
        return false;
    }
    termios current{};
    if (::tcgetattr(fd, &current) != 0) {
        *refused = "line settings";
        return false;
    }
    const termios want = wanted_settings(current, speed);
    // tcsetattr succeeds when any part took effect, so only the read-back tells what stuck.
    int set_result = ::tcsetattr(fd, TCSANOW, &want);
    termios got{};
    if (::tcgetattr(fd, &got) != 0) {
        *refused = "line settings";
        return false;
    }
    *refused = first_refused(got, want, baud);
    if (refused->empty() && set_result != 0) *refused = "line settings";
    return refused->empty();
}

int system_modem_control(int fd, unsigned long request, int* lines) {
    return ::ioctl(fd, request, lines);
}

bool drop_modem_lines(int fd, std::string* refused, ModemControl control) {
    int lines = TIOCM_DTR | TIOCM_RTS;
    if (control(fd, TIOCMBIC, &lines) == 0) return true;
    if (errno == ENOTTY || errno == EINVAL || errno == ENOTSUP) return true;
    *refused = "DTR and RTS off";
    return false;
}

bool set_up_line(int fd, const LineSettings& settings, std::string* refused) {
    return apply_line_settings(fd, settings.baud, refused) && drop_modem_lines(fd, refused);
}

}  // namespace platform

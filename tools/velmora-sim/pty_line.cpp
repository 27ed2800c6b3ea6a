// Creates and configures the served line; POSIX only.
#include "tools/velmora-sim/pty_line.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace sim {

namespace {

std::string system_error(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

speed_t speed_for(std::uint32_t baud) {
    switch (baud) {
        case 57600:
            return B57600;
        case 38400:
            return B38400;
        case 19200:
            return B19200;
        case 9600:
            return B9600;
        default:
            return B115200;
    }
}

// Raw so the line is never cooked: no echo, no line editing, no CR translation, no signals.
bool make_raw(int fd, std::uint32_t baud, std::string* error) {
    termios t{};
    if (tcgetattr(fd, &t) != 0) {
        *error = system_error("cannot read line settings");
        return false;
    }
    cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS | CSTOPB | PARENB | HUPCL);
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    cfsetispeed(&t, speed_for(baud));
    cfsetospeed(&t, speed_for(baud));
    if (tcsetattr(fd, TCSANOW, &t) != 0) {
        *error = system_error("cannot set line settings");
        return false;
    }
    return true;
}

void pause_ms(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace

bool open_pseudo_terminal(ServedLine* line, std::string* error) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0) {
        *error = system_error("cannot create a pseudo-terminal");
        return false;
    }
    const char* name = (grantpt(master) == 0 && unlockpt(master) == 0) ? ptsname(master) : nullptr;
    if (name == nullptr) {
        *error = system_error("cannot unlock the pseudo-terminal");
        ::close(master);
        return false;
    }
    line->fd = master;
    line->path = name;
    line->slave_fd = ::open(name, O_RDWR | O_NOCTTY);
    if (line->slave_fd < 0) {
        *error = system_error("cannot open " + line->path);
        close_line(line);
        return false;
    }
    if (!make_raw(line->slave_fd, 115200, error)) {
        close_line(line);
        return false;
    }
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    return true;
}

bool open_device(const std::string& path, std::uint32_t baud, ServedLine* line,
                 std::string* error) {
    line->fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (line->fd < 0) {
        *error = system_error("cannot open " + path);
        return false;
    }
    line->path = path;
    if (!make_raw(line->fd, baud, error)) {
        close_line(line);
        return false;
    }
    return true;
}

bool make_link(ServedLine* line, const std::string& link_path, std::string* error) {
    if (::unlink(link_path.c_str()) != 0 && errno != ENOENT) {
        *error = system_error("cannot replace " + link_path);
        return false;
    }
    if (::symlink(line->path.c_str(), link_path.c_str()) != 0) {
        *error = system_error("cannot make the link " + link_path);
        return false;
    }
    line->link = link_path;
    return true;
}

void drain(const ServedLine& line, std::uint32_t limit_ms) {
    if (line.slave_fd < 0) {
        tcdrain(line.fd);
        return;
    }
    // Bytes written to a pseudo-terminal reach the slave's queue a moment later, and closing
    // the master would discard them: wait for them to arrive, then for the program to read them.
    auto unread = [&line] {
        int n = 0;
        return ioctl(line.slave_fd, FIONREAD, &n) == 0 ? n : 0;
    };
    std::uint32_t waited = 0;
    for (; waited < 50 && unread() == 0; waited += 5) pause_ms(5);
    for (; waited < limit_ms && unread() > 0; waited += 5) pause_ms(5);
    pause_ms(20);
}

void close_line(ServedLine* line) {
    if (!line->link.empty()) ::unlink(line->link.c_str());
    if (line->slave_fd >= 0) ::close(line->slave_fd);
    if (line->fd >= 0) ::close(line->fd);
    *line = ServedLine{};
}

}  // namespace sim

// The serial line on POSIX: an exclusive termios device, polled without busy waiting.
#include "platform/serial.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <utility>

#include "platform/port_device.h"
#include "platform/posix/line_settings.h"
#include "platform/posix/low_latency.h"
#include "platform/posix/port_failure.h"
#include "platform/posix/port_names.h"
#include "platform/posix/stop_wake.h"
#include "platform/read_ahead.h"
#include "platform/stop_signals.h"

namespace platform {
namespace {

using Deadline = std::chrono::steady_clock::time_point;

Deadline deadline_after(std::uint64_t ms) {
    return std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
}

// Whole milliseconds until the deadline, rounded up so that a wait never ends early.
int remaining_ms(Deadline deadline) {
    auto left = deadline - std::chrono::steady_clock::now();
    if (left <= left.zero()) return 0;
    auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    return ms > 0x7fffffff ? 0x7fffffff : static_cast<int>(ms);
}

void sleep_until(Deadline deadline) {
    for (int left = remaining_ms(deadline); left > 0 && !stop_requested();
         left = remaining_ms(deadline)) {
        timespec pause{left / 1000, static_cast<long>(left % 1000) * 1000000L};
        ::nanosleep(&pause, nullptr);
    }
}

std::size_t bytes_waiting(int fd) {
    int count = 0;
    if (::ioctl(fd, FIONREAD, &count) != 0 || count < 0) return 0;
    return static_cast<std::size_t>(count);
}

std::size_t bytes_queued_out(int fd) {
    int count = 0;
    if (::ioctl(fd, TIOCOUTQ, &count) != 0 || count < 0) return 0;
    return static_cast<std::size_t>(count);
}

class TermiosLine : public SerialLine {
  public:
    TermiosLine(int fd, const termios& original, const WriteLimit& write_limit,
                std::string port_name, std::string device)
        : fd_(fd),
          original_(original),
          latency_(ask_low_latency(fd)),
          write_limit_(write_limit),
          port_name_(std::move(port_name)),
          device_(std::move(device)) {}

    ~TermiosLine() override {
        restore_settings();
        restore_latency(fd_, latency_);
        ::ioctl(fd_, TIOCNXCL);
        ::close(fd_);
    }

    bool set_up(const LineSettings& settings, std::string* refused) {
        return set_up_line(fd_, settings, refused);
    }

    std::size_t read(std::uint8_t* buffer, std::size_t n) override {
        return ahead_.read(buffer, n, [this](std::uint8_t* bytes, std::size_t capacity) {
            return read_device(bytes, capacity);
        });
    }

    std::size_t write(const std::uint8_t* data, std::size_t n) override {
        Deadline deadline =
            deadline_after(std::uint64_t{write_limit_.per_byte_ms} * n + write_limit_.constant_ms);
        std::size_t done = 0;
        while (done < n) {
            ssize_t put = ::write(fd_, data + done, n - done);
            if (put > 0) {
                done += static_cast<std::size_t>(put);
                continue;
            }
            if (put < 0 && errno == EINTR) continue;
            if (put < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
                mark_failed(errno);
                break;
            }
            if (!wait_writable(deadline)) break;
        }
        return done;
    }

    bool wait_for_input(std::uint32_t limit_ms) override {
        if (!ahead_.empty()) return true;
        if (failed_) return false;
        Deadline deadline = deadline_after(limit_ms);
        for (;;) {
            // A caught stop signal ends the wait at once; the transfer then notices the stop.
            if (stop_requested()) return false;
            pollfd watch[2] = {{fd_, POLLIN, 0}, {stop_wake_fd(), POLLIN, 0}};
            int ready = ::poll(watch, watch[1].fd >= 0 ? 2 : 1, remaining_ms(deadline));
            if (ready < 0 && errno == EINTR) continue;
            if (ready > 0 && !(watch[0].revents & POLLIN) && watch[1].revents) continue;
            if (ready == 0) {
                if (remaining_ms(deadline) == 0) return false;
                continue;
            }
            if (ready > 0 && !(watch[0].revents & (POLLHUP | POLLERR | POLLNVAL))) return true;
            // Bytes that came before a hang-up are still the terminal's.
            if (ready > 0 && bytes_waiting(fd_) > 0) return true;
            // A hung-up device (an adapter pulled out, the far end of a pseudo-terminal closed)
            // never recovers: the callers' waits end now rather than after their limits.
            if (ready > 0) {
                mark_failed(kHungUp);
                return false;
            }
            sleep_until(deadline);
            return false;
        }
    }

    void discard_input() override {
        ahead_.clear();
        ::tcflush(fd_, TCIFLUSH);
    }

    bool failed() const override { return failed_; }

    std::string failure_detail() const override {
        return failed_ ? describe_line_failure(port_name_, device_, error_) : std::string();
    }

  private:
    static constexpr int kHungUp = 0;  // no errno: poll reported the hang-up

    std::size_t read_device(std::uint8_t* buffer, std::size_t n) {
        for (;;) {
            ssize_t got = ::read(fd_, buffer, n);
            if (got >= 0) return static_cast<std::size_t>(got);
            if (errno == EINTR) continue;
            // EAGAIN: nothing buffered. Anything else (EIO: the device is gone) is for good.
            if (errno != EAGAIN && errno != EWOULDBLOCK) mark_failed(errno);
            return 0;
        }
    }

    // The first failure is the one worth telling: later ones only follow from it.
    void mark_failed(int error) {
        if (failed_) return;
        failed_ = true;
        error_ = error;
    }

    // The last message may still be leaving the port: changing the speed under it would garble
    // it, so let it out first, but never wait longer than the write time limit would.
    void restore_settings() {
        std::size_t queued = bytes_queued_out(fd_);
        Deadline deadline = deadline_after(std::uint64_t{write_limit_.per_byte_ms} * queued +
                                           write_limit_.constant_ms);
        while (queued > 0 && remaining_ms(deadline) > 0) {
            timespec pause{0, 5 * 1000000L};
            ::nanosleep(&pause, nullptr);
            queued = bytes_queued_out(fd_);
        }
        if (queued > 0) ::tcflush(fd_, TCOFLUSH);
        ::tcsetattr(fd_, TCSADRAIN, &original_);
    }

    bool wait_writable(Deadline deadline) {
        for (;;) {
            int left = remaining_ms(deadline);
            if (left == 0) return false;
            pollfd watch{fd_, POLLOUT, 0};
            int ready = ::poll(&watch, 1, left);
            if (ready < 0 && errno == EINTR) continue;
            if (ready < 0) return false;
            if (ready > 0) return (watch.revents & POLLOUT) != 0;
        }
    }

    int fd_;
    termios original_;
    LowLatency latency_;
    WriteLimit write_limit_;
    ReadAhead ahead_;
    std::string port_name_;
    std::string device_;
    bool failed_ = false;
    int error_ = kHungUp;
};

int open_device(const std::string& device, OpenError* error) {
    int fd;
    do {
        fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) *error = errno == EBUSY ? OpenError::busy : OpenError::cannot_open;
    return fd;
}

// TIOCEXCL keeps out other users; the flock also keeps out root, which TIOCEXCL lets through.
OpenError claim_device(int fd, termios* original) {
    if (!::isatty(fd) || ::tcgetattr(fd, original) != 0) return OpenError::cannot_open;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        return errno == EWOULDBLOCK ? OpenError::busy : OpenError::cannot_open;
    }
    ::ioctl(fd, TIOCEXCL);
    return OpenError::none;
}

class TermiosPorts : public SerialPorts {
  public:
    OpenedLine open(unsigned port_number, const LineSettings& settings) override {
        OpenedLine opened;
        const std::string device = device_for_port(port_number);
        if (device.empty()) return opened;
        const std::string port_name = com_port_name(port_number);
        int fd = open_device(device, &opened.error);
        if (fd < 0) {
            opened.reason = describe_open_failure(port_name, device, errno);
            return opened;
        }
        termios original{};
        opened.error = claim_device(fd, &original);
        if (opened.error != OpenError::none) {
            opened.reason = describe_open_failure(port_name, device, errno);
            ::close(fd);
            return opened;
        }
        auto line =
            std::make_unique<TermiosLine>(fd, original, settings.write_limit, port_name, device);
        // A refused setting closes the line again, which puts the device's own settings back.
        if (!line->set_up(settings, &opened.reason)) {
            opened.error = OpenError::refused;
            return opened;
        }
        opened.line = std::move(line);
        return opened;
    }
};

}  // namespace

std::unique_ptr<SerialPorts> make_system_serial_ports() {
    return std::make_unique<TermiosPorts>();
}

}  // namespace platform

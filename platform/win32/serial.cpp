// COM ports on Windows: an unshared handle, 8N1 without flow control, reads that return at once.
#include "platform/serial.h"

#include <windows.h>

#include "platform/clock.h"
#include "platform/environment.h"
#include "platform/port_device.h"
#include "platform/read_ahead.h"
#include "platform/win32/line_settings.h"
#include "platform/win32/wide.h"

namespace platform {
namespace {

// A write that ran out of its time limit is no failure of the line.
bool is_time_out(DWORD code) {
    return code == ERROR_TIMEOUT || code == WAIT_TIMEOUT || code == ERROR_SEM_TIMEOUT;
}

class Win32SerialLine : public SerialLine {
  public:
    Win32SerialLine(HANDLE handle, const WriteLimit& write_limit)
        : handle_(handle), normal_(line_timeouts(write_limit)) {
        applied_ = SetCommTimeouts(handle_, &normal_) != 0;
        timeouts_ = normal_;
    }
    ~Win32SerialLine() override { CloseHandle(handle_); }
    Win32SerialLine(const Win32SerialLine&) = delete;
    Win32SerialLine& operator=(const Win32SerialLine&) = delete;

    bool set_up(const LineSettings& settings, std::string* refused) {
        return set_up_line(handle_, settings, refused);
    }

    std::size_t read(std::uint8_t* buffer, std::size_t n) override {
        return ahead_.read(buffer, n, [this](std::uint8_t* bytes, std::size_t capacity) {
            return read_port(bytes, capacity);
        });
    }

    std::size_t write(const std::uint8_t* data, std::size_t n) override {
        DWORD put = 0;
        // A write cut short by its time limit may fail but still reports what went out.
        if (!WriteFile(handle_, data, static_cast<DWORD>(n), &put, nullptr) &&
            !is_time_out(GetLastError()))
            failed_ = true;
        return put;
    }

    bool wait_for_input(std::uint32_t limit_ms) override;

    void discard_input() override {
        ahead_.clear();
        PurgeComm(handle_, PURGE_RXCLEAR);
    }

    bool failed() const override { return failed_; }

  private:
    // Sets the port's time-outs only when they change: each SetCommTimeouts is a driver call,
    // two Wine-server round trips under Wine.
    bool apply(const COMMTIMEOUTS& wanted) {
        if (applied_ && same_timeouts(wanted, timeouts_)) return true;
        COMMTIMEOUTS copy = wanted;
        if (!SetCommTimeouts(handle_, &copy)) return false;
        timeouts_ = wanted;
        applied_ = true;
        return true;
    }

    static bool same_timeouts(const COMMTIMEOUTS& a, const COMMTIMEOUTS& b) {
        return a.ReadIntervalTimeout == b.ReadIntervalTimeout &&
               a.ReadTotalTimeoutMultiplier == b.ReadTotalTimeoutMultiplier &&
               a.ReadTotalTimeoutConstant == b.ReadTotalTimeoutConstant &&
               a.WriteTotalTimeoutMultiplier == b.WriteTotalTimeoutMultiplier &&
               a.WriteTotalTimeoutConstant == b.WriteTotalTimeoutConstant;
    }

    // All that is queued, at once, whatever read time-outs the port has: the queue is looked at
    // first and no more is asked for than it holds, since a ReadFile that finds nothing costs a
    // Wine-server round trip and, under a wait's time-outs, would wait.
    std::size_t read_port(std::uint8_t* buffer, std::size_t n) {
        DWORD errors = 0;
        COMSTAT status{};
        if (!ClearCommError(handle_, &errors, &status)) return read_polling(buffer, n);
        if (status.cbInQue == 0) return 0;
        const DWORD ask = status.cbInQue < n ? status.cbInQue : static_cast<DWORD>(n);
        return read_file(buffer, ask);
    }

    // For a driver that does not report its queue: a read under time-outs that return at once.
    std::size_t read_polling(std::uint8_t* buffer, std::size_t n) {
        if (!apply(normal_)) {
            failed_ = true;
            return 0;
        }
        return read_file(buffer, static_cast<DWORD>(n));
    }

    std::size_t read_file(std::uint8_t* buffer, DWORD n) {
        DWORD got = 0;
        if (!ReadFile(handle_, buffer, n, &got, nullptr)) {
            failed_ = true;
            return 0;
        }
        return got;
    }

    HANDLE handle_;
    std::unique_ptr<Clock> clock_ = make_system_clock();  // a wait's limit across its slices
    COMMTIMEOUTS normal_;      // reads that return at once, the line's write limit
    COMMTIMEOUTS timeouts_{};  // what the port was last given
    bool applied_ = false;
    // Bytes taken off the line and not yet asked for, the byte a wait took first among them.
    ReadAhead ahead_;
    bool failed_ = false;
};

// WaitCommEvent is useless under Wine, so the wait is one-byte reads with time-outs of their own:
// slices of the limit, each left in place for the next wait of the same slice.
bool Win32SerialLine::wait_for_input(std::uint32_t limit_ms) {
    if (!ahead_.empty()) return true;
    std::uint8_t byte = 0;
    const std::uint32_t start = clock_->tick_ms();
    for (std::uint32_t waited = 0; waited < limit_ms; waited = clock_->tick_ms() - start) {
        if (!apply(with_reads(normal_, waiting_read_timeouts(limit_ms - waited)))) break;
        if (read_file(&byte, 1) == 1) {
            ahead_.put(byte);
            return true;
        }
        // A failed read (the device is gone) ends the wait at once, and the callers with it.
        if (failed_) return false;
    }
    const std::uint32_t waited = clock_->tick_ms() - start;
    if (limit_ms > 0 && waited >= limit_ms) return false;
    // A zero limit only looks; so does a line that takes no time-outs, which must then still not
    // turn the callers' polling loops into a busy spin.
    if (read_port(&byte, 1) == 1) {
        ahead_.put(byte);
        return true;
    }
    if (!failed_ && limit_ms > 0) Sleep(limit_ms - waited);
    return false;
}

OpenError open_error(DWORD code) {
    return code == ERROR_ACCESS_DENIED || code == ERROR_SHARING_VIOLATION ? OpenError::busy
                                                                          : OpenError::cannot_open;
}

class Win32SerialPorts : public SerialPorts {
  public:
    OpenedLine open(unsigned port_number, const LineSettings& settings) override {
        OpenedLine opened;
        const std::string variable = port_variable(port_number);
        const std::string redirect = variable.empty() ? "" : environment_variable(variable);
        std::string device;
        if (!windows_port_device(port_number, redirect, &device)) {
            opened.reason = variable + "=" + redirect +
                            ": to není port Windows (zadejte např. COM12 nebo \\\\.\\COM12)";
            return opened;
        }
        // The device namespace form also reaches ports above COM9.
        HANDLE h = CreateFileW(to_wide(device).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            opened.error = open_error(GetLastError());
            // Only a port pointed elsewhere needs saying which one was tried.
            if (!redirect.empty()) {
                opened.reason = com_port_name(port_number) + " = " + device + " (" + variable + ")";
            }
            return opened;
        }
        auto line = std::make_unique<Win32SerialLine>(h, settings.write_limit);
        // A refused setting closes the port again.
        if (!line->set_up(settings, &opened.reason)) {
            opened.error = OpenError::refused;
            return opened;
        }
        opened.error = OpenError::none;
        opened.line = std::move(line);
        return opened;
    }
};

}  // namespace

std::unique_ptr<SerialPorts> make_system_serial_ports() {
    return std::make_unique<Win32SerialPorts>();
}

}  // namespace platform

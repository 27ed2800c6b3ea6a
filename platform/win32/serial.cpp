// COM ports on Windows: an unshared handle, 8N1 without flow control, reads that return at once.
#include "platform/serial.h"

#include <windows.h>

#include "platform/read_ahead.h"
#include "platform/read_timeouts.h"
#include "platform/win32/line_settings.h"
#include "platform/win32/wide.h"

namespace platform {
namespace {

COMMTIMEOUTS with_reads(COMMTIMEOUTS t, const ReadTimeouts& read) {
    t.ReadIntervalTimeout = read.interval;
    t.ReadTotalTimeoutMultiplier = read.multiplier;
    t.ReadTotalTimeoutConstant = read.constant;
    return t;
}

// Reads return at once with what is buffered; writes get the caller's limit.
COMMTIMEOUTS polling_timeouts(const WriteTimeouts& write) {
    COMMTIMEOUTS t{};
    t.WriteTotalTimeoutMultiplier = write.per_byte_ms;
    t.WriteTotalTimeoutConstant = write.constant_ms;
    return with_reads(t, polling_read_timeouts());
}

// A write that ran out of its time limit is no failure of the line.
bool is_time_out(DWORD code) {
    return code == ERROR_TIMEOUT || code == WAIT_TIMEOUT || code == ERROR_SEM_TIMEOUT;
}

class Win32SerialLine : public SerialLine {
  public:
    explicit Win32SerialLine(HANDLE handle) : handle_(handle) {
        SetCommTimeouts(handle_, &normal_);
    }
    ~Win32SerialLine() override { CloseHandle(handle_); }
    Win32SerialLine(const Win32SerialLine&) = delete;
    Win32SerialLine& operator=(const Win32SerialLine&) = delete;

    bool set_queues(std::uint32_t in_bytes, std::uint32_t out_bytes) override {
        return SetupComm(handle_, in_bytes, out_bytes) != 0;
    }

    bool configure(std::uint32_t baud, std::string* refused) override {
        // A driver that cannot report its block gets one built from nothing, as before.
        DCB reported{};
        reported.DCBlength = sizeof(DCB);
        if (!GetCommState(handle_, &reported)) {
            reported = DCB{};
            reported.DCBlength = sizeof(DCB);
        }
        DCB wanted = line_control_block(reported, baud);
        if (SetCommState(handle_, &wanted)) return true;
        if (refused) {
            DCB got{};
            got.DCBlength = sizeof(DCB);
            *refused = GetCommState(handle_, &got) ? refused_setting(wanted, got) : "line settings";
        }
        return false;
    }

    bool set_write_timeouts(const WriteTimeouts& timeouts) override {
        normal_ = polling_timeouts(timeouts);
        return SetCommTimeouts(handle_, &normal_) != 0;
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
    // Every ReadFile is a round trip to the driver (to the Wine server under Wine): one takes
    // all that is buffered.
    std::size_t read_port(std::uint8_t* buffer, std::size_t n) {
        DWORD got = 0;
        if (!ReadFile(handle_, buffer, static_cast<DWORD>(n), &got, nullptr)) {
            failed_ = true;
            return 0;
        }
        return got;
    }

    HANDLE handle_;
    COMMTIMEOUTS normal_ = polling_timeouts(WriteTimeouts{});
    // Bytes taken off the line and not yet asked for, the byte a wait took first among them.
    ReadAhead ahead_;
    bool failed_ = false;
};

// WaitCommEvent is useless under Wine, so the wait is a one-byte read with a time-out of its own.
bool Win32SerialLine::wait_for_input(std::uint32_t limit_ms) {
    if (!ahead_.empty()) return true;
    COMMTIMEOUTS waiting = with_reads(normal_, waiting_read_timeouts(limit_ms));
    std::uint8_t byte = 0;
    DWORD got = 0;
    const bool can_wait = limit_ms > 0 && SetCommTimeouts(handle_, &waiting);
    const bool ok = ReadFile(handle_, &byte, 1, &got, nullptr) != 0;
    if (can_wait) SetCommTimeouts(handle_, &normal_);
    if (ok && got == 1) {
        ahead_.put(byte);
        return true;
    }
    // A failed read (the device is gone) ends the wait at once, and the callers with it.
    if (!ok) failed_ = true;
    // A line that cannot wait must still not turn the callers' polling loops into a busy spin.
    if (ok && !can_wait && limit_ms > 0) Sleep(limit_ms);
    return false;
}

OpenError open_error(DWORD code) {
    return code == ERROR_ACCESS_DENIED || code == ERROR_SHARING_VIOLATION ? OpenError::busy
                                                                          : OpenError::cannot_open;
}

class Win32SerialPorts : public SerialPorts {
  public:
    std::unique_ptr<SerialLine> open(const std::string& port_name, OpenError* error) override {
        // The device namespace form also reaches ports above COM9.
        const std::wstring device = to_wide("\\\\.\\" + port_name);
        HANDLE h = CreateFileW(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            if (error) *error = open_error(GetLastError());
            return nullptr;
        }
        if (error) *error = OpenError::none;
        return std::make_unique<Win32SerialLine>(h);
    }
};

}  // namespace

std::unique_ptr<SerialPorts> make_system_serial_ports() {
    return std::make_unique<Win32SerialPorts>();
}

}  // namespace platform

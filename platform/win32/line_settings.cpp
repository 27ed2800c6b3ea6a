// The device control block for the programs' line, and the setting a port would not take.
#include "platform/win32/line_settings.h"

namespace platform {

namespace {

constexpr char kXon = 0x11;   // DC1
constexpr char kXoff = 0x13;  // DC3

void switch_off_flow_control(DCB& dcb) {
    dcb.fOutxCtsFlow = 0;
    dcb.fOutxDsrFlow = 0;
    dcb.fDsrSensitivity = 0;
    dcb.fOutX = 0;
    dcb.fInX = 0;
    dcb.fDtrControl = DTR_CONTROL_DISABLE;
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
}

// Bytes pass untouched: no parity check, no replacement, no stripping, no stop on an error.
void pass_bytes_unchanged(DCB& dcb) {
    dcb.fBinary = 1;  // Windows accepts no other mode
    dcb.fParity = 0;
    dcb.fErrorChar = 0;
    dcb.fNull = 0;
    dcb.fAbortOnError = 0;
}

}  // namespace

COMMTIMEOUTS with_reads(COMMTIMEOUTS timeouts, const ReadTimeouts& read) {
    timeouts.ReadIntervalTimeout = read.interval;
    timeouts.ReadTotalTimeoutMultiplier = read.multiplier;
    timeouts.ReadTotalTimeoutConstant = read.constant;
    return timeouts;
}

COMMTIMEOUTS line_timeouts(const WriteLimit& limit) {
    COMMTIMEOUTS t{};
    t.WriteTotalTimeoutMultiplier = limit.per_byte_ms;
    t.WriteTotalTimeoutConstant = limit.constant_ms;
    return with_reads(t, polling_read_timeouts());
}

bool set_up_line(HANDLE port, const LineSettings& settings, std::string* refused) {
    if (settings.baud == 0) {
        *refused = "speed";
        return false;
    }
    // Only a wish: a driver that keeps its own sizes still carries the line.
    SetupComm(port, settings.in_buffer, settings.out_buffer);
    // A driver that cannot report its block gets one built from nothing, as before.
    DCB reported{};
    reported.DCBlength = sizeof(DCB);
    if (!GetCommState(port, &reported)) {
        reported = DCB{};
        reported.DCBlength = sizeof(DCB);
    }
    DCB wanted = line_control_block(reported, settings.baud);
    if (SetCommState(port, &wanted)) return true;
    DCB got{};
    got.DCBlength = sizeof(DCB);
    *refused = GetCommState(port, &got) ? refused_setting(wanted, got) : "line settings";
    return false;
}

DCB line_control_block(const DCB& reported, std::uint32_t baud) {
    DCB dcb = reported;
    dcb.DCBlength = sizeof(DCB);
    dcb.BaudRate = baud;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    switch_off_flow_control(dcb);
    pass_bytes_unchanged(dcb);
    dcb.wReserved = 0;  // documented as must be zero
    if (dcb.XonChar == dcb.XoffChar) {
        dcb.XonChar = kXon;
        dcb.XoffChar = kXoff;
    }
    return dcb;
}

std::string refused_setting(const DCB& wanted, const DCB& got) {
    if (got.BaudRate != wanted.BaudRate) return "speed";
    if (got.ByteSize != wanted.ByteSize) return "data bits";
    if (got.Parity != wanted.Parity || got.fParity != wanted.fParity) return "parity";
    if (got.StopBits != wanted.StopBits) return "stop bits";
    if (got.fOutxCtsFlow != wanted.fOutxCtsFlow || got.fOutxDsrFlow != wanted.fOutxDsrFlow ||
        got.fDsrSensitivity != wanted.fDsrSensitivity)
        return "hardware flow control";
    if (got.fOutX != wanted.fOutX || got.fInX != wanted.fInX) return "XON/XOFF flow control";
    if (got.fDtrControl != wanted.fDtrControl) return "DTR";
    if (got.fRtsControl != wanted.fRtsControl) return "RTS";
    if (got.fErrorChar != wanted.fErrorChar || got.fNull != wanted.fNull ||
        got.fAbortOnError != wanted.fAbortOnError)
        return "error handling";
    return "line settings";
}

}  // namespace platform

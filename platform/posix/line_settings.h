// Maps the programs' line settings onto termios and names the one the device refused.
#pragma once

#include <cstdint>
#include <string>

#include "platform/serial.h"

namespace platform {

// The line's settings on the device: termios and the modem lines. The buffer sizes are left to
// the system, and the write limit is kept by the line itself. On failure *refused names the
// setting that did not stick.
bool set_up_line(int fd, const LineSettings& settings, std::string* refused);

// Raw 8N1 at baud, no flow control of any kind, reads that never wait (VMIN = VTIME = 0).
// Reads the settings back; on a mismatch *refused names the first setting that did not stick.
bool apply_line_settings(int fd, std::uint32_t baud, std::string* refused);

// A modem-control request (TIOCMBIC, TIOCMBIS, TIOCMSET, TIOCMGET) on the device: ioctl(2),
// or a test's recorder, since a pseudo-terminal has no modem lines to watch.
using ModemControl = int (*)(int fd, unsigned long request, int* lines);
int system_modem_control(int fd, unsigned long request, int* lines);

// Drops DTR and RTS. Lines without modem control (pseudo-terminals) count as success.
bool drop_modem_lines(int fd, std::string* refused, ModemControl control = system_modem_control);

}  // namespace platform

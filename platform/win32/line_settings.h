// Maps the programs' line settings onto the time-outs, driver queues and device control block,
// and names what a port refused.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/serial.h"
#include "platform/win32/read_timeouts.h"

namespace platform {

// Reads that return at once with what is buffered; writes within the limit.
COMMTIMEOUTS line_timeouts(const WriteLimit& limit);
// The same time-outs with other read time-outs.
COMMTIMEOUTS with_reads(COMMTIMEOUTS timeouts, const ReadTimeouts& read);

// The driver's queues and the control block of an open port (its time-outs are set before, with
// line_timeouts). A speed of 0 is refused before the port is touched. On failure *refused names
// the setting the port would not take.
bool set_up_line(HANDLE port, const LineSettings& settings, std::string* refused);

// The block to apply, built on what the driver reports: speed, 8N1, binary, no flow control of
// any kind, DTR and RTS disabled, no parity check, no error character, no NUL stripping, no
// abort on error. The XON and XOFF characters stay the driver's (Windows refuses a block where
// they are equal), and get the usual DC1 and DC3 when the report has them equal.
DCB line_control_block(const DCB& reported, std::uint32_t baud);

// Names the first setting the port did not keep, comparing what was asked with what it has.
std::string refused_setting(const DCB& wanted, const DCB& got);

}  // namespace platform

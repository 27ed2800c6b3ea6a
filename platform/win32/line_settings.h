// Maps the programs' line settings onto the device control block and names what a port refused.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace platform {

// The block to apply, built on what the driver reports: speed, 8N1, binary, no flow control of
// any kind, DTR and RTS disabled, no parity check, no error character, no NUL stripping, no
// abort on error. The XON and XOFF characters stay the driver's (Windows refuses a block where
// they are equal), and get the usual DC1 and DC3 when the report has them equal.
DCB line_control_block(const DCB& reported, std::uint32_t baud);

// Names the first setting the port did not keep, comparing what was asked with what it has.
std::string refused_setting(const DCB& wanted, const DCB& got);

}  // namespace platform

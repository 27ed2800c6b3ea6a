// The serial driver's low-latency mode, asked for while a port is open and put back after.
#pragma once

namespace platform {

// Whether this open switched the mode on, so that close switches it off again.
struct LowLatency {
    bool switched_on = false;
};

// USB-serial adapters hold received bytes for a latency timer (16 ms by default) unless the
// driver is in low-latency mode; in a stop-and-wait exchange that costs every message. A
// driver without the mode (a pseudo-terminal, most built-in ports) is left as it is, silently.
LowLatency ask_low_latency(int fd);
void restore_latency(int fd, const LowLatency& state);

}  // namespace platform

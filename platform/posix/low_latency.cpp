// Low-latency mode through the Linux serial driver's flags; other systems have no such flag.
#include "platform/posix/low_latency.h"

#if defined(__linux__)
#include <linux/serial.h>
#include <sys/ioctl.h>

namespace platform {

LowLatency ask_low_latency(int fd) {
    serial_struct serial{};
    if (::ioctl(fd, TIOCGSERIAL, &serial) != 0) return {};
    if (serial.flags & ASYNC_LOW_LATENCY) return {};  // already on: not ours to switch off
    serial.flags |= ASYNC_LOW_LATENCY;
    return {::ioctl(fd, TIOCSSERIAL, &serial) == 0};
}

void restore_latency(int fd, const LowLatency& state) {
    serial_struct serial{};
    if (!state.switched_on || ::ioctl(fd, TIOCGSERIAL, &serial) != 0) return;
    serial.flags &= ~ASYNC_LOW_LATENCY;
    ::ioctl(fd, TIOCSSERIAL, &serial);
}

}  // namespace platform

#else

namespace platform {

LowLatency ask_low_latency(int) {
    return {};
}

void restore_latency(int, const LowLatency&) {}

}  // namespace platform

#endif

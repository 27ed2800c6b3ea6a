// The descriptor that becomes readable once a stop signal was caught, for the POSIX waits.
#pragma once

namespace platform {

// -1 when no stop scope was ever opened. Waits poll it beside their own descriptor.
int stop_wake_fd();

}  // namespace platform

// Windows desktop programs get no stop signals: the scope and the flag stay empty.
#include "platform/stop_signals.h"

namespace platform {

StopSignalScope::StopSignalScope() = default;
StopSignalScope::~StopSignalScope() = default;

bool stop_requested() {
    return false;
}

int stop_signal() {
    return 0;
}

void clear_stop_request() {}

}  // namespace platform

// A stop asked for from outside while a transfer runs (Linux: SIGINT, SIGTERM, SIGHUP), so that
// the transfer ends as a failed one would and the program can say why it ended.
#pragma once

namespace platform {

// While a scope exists the stop signals are caught instead of ending the process: the serial
// line's waits return at once and stop_requested() turns true. Scopes may nest. On Windows a
// scope does nothing: a desktop program is closed through its windows.
class StopSignalScope {
  public:
    StopSignalScope();
    ~StopSignalScope();
    StopSignalScope(const StopSignalScope&) = delete;
    StopSignalScope& operator=(const StopSignalScope&) = delete;
};

bool stop_requested();
// The number of the first signal caught, 0 without one.
int stop_signal();
// Forgets a caught stop that the program took as its user's choice (a stop between polls).
void clear_stop_request();

}  // namespace platform

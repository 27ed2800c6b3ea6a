// Stop signals caught into a flag and a self-pipe: a wait in poll() wakes at once, with no race
// between checking the flag and starting to wait.
#include "platform/stop_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix/stop_wake.h"

namespace platform {

namespace {

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int kSignalCount = sizeof kStopSignals / sizeof kStopSignals[0];

volatile sig_atomic_t g_signal = 0;
int g_pipe[2] = {-1, -1};
int g_depth = 0;
struct sigaction g_previous[kSignalCount];

void on_stop_signal(int number) {
    const int saved = errno;
    if (g_signal == 0) g_signal = number;
    const char byte = 1;
    if (::write(g_pipe[1], &byte, 1) < 0) {
        // A full pipe already wakes every wait.
    }
    errno = saved;
}

bool open_pipe() {
    if (g_pipe[0] >= 0) return true;
    return ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) == 0;
}

void drain_pipe() {
    char bytes[64];
    while (g_pipe[0] >= 0 && ::read(g_pipe[0], bytes, sizeof bytes) > 0) {
    }
}

}  // namespace

// No SA_RESTART: a blocking read or wait returns with EINTR and looks at the flag.
StopSignalScope::StopSignalScope() {
    if (g_depth++ > 0 || !open_pipe()) return;
    struct sigaction action {};
    action.sa_handler = on_stop_signal;
    sigemptyset(&action.sa_mask);
    for (int i = 0; i < kSignalCount; ++i) sigaction(kStopSignals[i], &action, &g_previous[i]);
}

StopSignalScope::~StopSignalScope() {
    if (--g_depth > 0 || g_pipe[0] < 0) return;
    for (int i = 0; i < kSignalCount; ++i) sigaction(kStopSignals[i], &g_previous[i], nullptr);
}

bool stop_requested() {
    return g_signal != 0;
}

int stop_signal() {
    return g_signal;
}

void clear_stop_request() {
    g_signal = 0;
    drain_pipe();
}

int stop_wake_fd() {
    return g_pipe[0];
}

}  // namespace platform

// The terminal polling loop: keys and stop signals between transfers end polling as the user's
// choice; a stop signal during a transfer ends that transfer as a failed one and polling with it.
#include "reader/posix/polling_window.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>

#include "common/posix/status_line.h"
#include "platform/posix/stop_wake.h"
#include "platform/stop_signals.h"
#include "reader/polling.h"
#include "reader/posix/polling_status.h"
#include "reader/run_reader.h"

namespace ravelo {

namespace {

constexpr std::uint32_t kCountdownStepMs = 1000;

// Single keys without echo while waiting; the terminal's own settings while a transfer runs.
class KeyMode {
  public:
    explicit KeyMode(int fd) : fd_(fd), saved_(tcgetattr(fd, &original_) == 0) {
        if (!saved_) return;
        termios keys = original_;
        keys.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
        keys.c_cc[VMIN] = 0;
        keys.c_cc[VTIME] = 0;
        tcsetattr(fd_, TCSANOW, &keys);
    }
    ~KeyMode() {
        if (saved_) tcsetattr(fd_, TCSANOW, &original_);
    }

  private:
    int fd_;
    termios original_{};
    bool saved_;
};

bool is_stop_key(char c) {
    return c == '\x1b' || c == 'q' || c == 'Q' || c == '\x03';
}

class TerminalWaiter : public PollWaiter {
  public:
    TerminalWaiter(Reader& reader, int tty) : reader_(reader), tty_(tty) {}

    bool wait_for_stop(std::uint32_t limit_ms) override {
        KeyMode keys(tty_);
        common::TerminalStatusLine status;
        status.open();
        const std::uint32_t start = reader_.clock.tick_ms();
        for (;;) {
            if (platform::stop_requested()) return stopped_by_user();
            const std::uint32_t passed = platform::elapsed_since(reader_.clock, start);
            if (passed >= limit_ms) return false;
            status.show(polling_status_text(last_, limit_ms - passed));
            const std::uint32_t step = std::min(limit_ms - passed, kCountdownStepMs);
            if (wait_once(step) && stop_key_read()) return stopped_by_user();
        }
    }

    // Called after each transfer with its result.
    void note_transfer(int result) {
        if (result <= 0) return;
        last_.file_name = reader_.output_path.substr(reader_.output_path.find_last_of('/') + 1);
        last_.records = result;
        last_.at = reader_.clock.local_time();
        last_.any = true;
    }

    bool user_stopped() const { return user_stopped_; }

  private:
    // A signal between transfers is the user's way to stop, as the keys are.
    bool stopped_by_user() {
        platform::clear_stop_request();
        user_stopped_ = true;
        return true;
    }

    // True when the terminal has input; false on time-out or a stop signal.
    bool wait_once(std::uint32_t ms) {
        pollfd watch[2] = {{tty_, POLLIN, 0}, {platform::stop_wake_fd(), POLLIN, 0}};
        const int ready = poll(watch, 2, static_cast<int>(ms));
        return ready > 0 && (watch[0].revents & POLLIN);
    }

    bool stop_key_read() {
        char keys[32];
        ssize_t n = read(tty_, keys, sizeof keys);
        if (n < 0 && errno == EINTR) return false;
        if (n <= 0) {
            // The terminal went away: from here on only the signals can stop polling.
            tty_ = -1;
            return false;
        }
        for (ssize_t i = 0; i < n; ++i) {
            if (is_stop_key(keys[i])) return true;
        }
        return false;
    }

    Reader& reader_;
    int tty_;
    LastBatch last_;
    bool user_stopped_ = false;
};

void say(int tty, const std::string& text) {
    if (tty >= 0 && write(tty, text.data(), text.size()) < 0) return;
}

}  // namespace

PollingEnd show_polling_window(Reader& reader, bool* stopped_by_user) {
    const platform::StopSignalScope stop_signals;
    int tty = open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    say(tty,
        "\nPřipraveno pro příjem dat\nPřipojuji... (Esc, q nebo Ctrl+C ukončí příjem mezi "
        "přenosy)\n");
    TerminalWaiter waiter(reader, tty);
    const PollingEnd result = run_polling(reader.settings, waiter, [&] {
        const int transferred = run_transfer(reader);
        waiter.note_transfer(transferred);
        // A stop signal during the transfer ends polling, and the program with it.
        return platform::stop_requested() ? -1 : transferred;
    });
    say(tty, "Příjem dat ukončen.\n");
    if (tty >= 0) close(tty);
    if (stopped_by_user) *stopped_by_user = waiter.user_stopped();
    return result;
}

}  // namespace ravelo

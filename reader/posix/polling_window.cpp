// The terminal polling loop: keys are read only between transfers, and SIGINT and SIGTERM stay
// blocked during a transfer, so a stop never cuts a record in half.
#include "reader/posix/polling_window.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/select.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "reader/polling.h"
#include "reader/run_sequence.h"

namespace ravelo {

namespace {

volatile sig_atomic_t stop_signalled = 0;

void on_stop_signal(int) {
    stop_signalled = 1;
}

// SIGINT and SIGTERM blocked and caught for the life of the window; restored afterwards.
class StopSignals {
  public:
    StopSignals() {
        struct sigaction action {};
        action.sa_handler = on_stop_signal;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &old_int_);
        sigaction(SIGTERM, &action, &old_term_);
        sigset_t stops;
        sigemptyset(&stops);
        sigaddset(&stops, SIGINT);
        sigaddset(&stops, SIGTERM);
        sigprocmask(SIG_BLOCK, &stops, &old_mask_);
        waiting_mask_ = old_mask_;
        sigdelset(&waiting_mask_, SIGINT);
        sigdelset(&waiting_mask_, SIGTERM);
        stop_signalled = 0;
    }
    ~StopSignals() {
        sigprocmask(SIG_SETMASK, &old_mask_, nullptr);
        sigaction(SIGINT, &old_int_, nullptr);
        sigaction(SIGTERM, &old_term_, nullptr);
    }
    // The mask for the waits, which alone let the signals in.
    const sigset_t* waiting_mask() const { return &waiting_mask_; }

  private:
    struct sigaction old_int_ {};
    struct sigaction old_term_ {};
    sigset_t old_mask_{};
    sigset_t waiting_mask_{};
};

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
    TerminalWaiter(platform::Clock& clock, int tty, const StopSignals& signals)
        : clock_(clock), tty_(tty), signals_(signals) {}

    bool wait_for_stop(std::uint32_t limit_ms) override {
        KeyMode keys(tty_);
        const std::uint32_t start = clock_.tick_ms();
        for (;;) {
            if (stop_signalled) return true;
            const std::uint32_t passed = platform::elapsed_since(clock_, start);
            if (passed >= limit_ms) return false;
            if (wait_once(limit_ms - passed) && stop_key_read()) return true;
        }
    }

  private:
    // True when the terminal has input; false on time-out or a signal.
    bool wait_once(std::uint32_t ms) {
        fd_set readable;
        FD_ZERO(&readable);
        if (tty_ >= 0) FD_SET(tty_, &readable);
        timespec limit{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
        int ready = pselect(tty_ + 1, tty_ >= 0 ? &readable : nullptr, nullptr, nullptr, &limit,
                            signals_.waiting_mask());
        return ready > 0;
    }

    bool stop_key_read() {
        char keys[32];
        ssize_t n = read(tty_, keys, sizeof keys);
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

    platform::Clock& clock_;
    int tty_;
    const StopSignals& signals_;
};

void say(int tty, const std::string& text) {
    if (tty >= 0 && write(tty, text.data(), text.size()) < 0) return;
}

}  // namespace

int show_polling_window(Reader& reader) {
    StopSignals signals;
    int tty = open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    say(tty,
        "\nPřipraveno pro příjem dat\nPřipojuji... (Esc, q nebo Ctrl+C ukončí příjem mezi "
        "přenosy)\n");
    TerminalWaiter waiter(reader.clock, tty, signals);
    int result = run_polling(reader.settings, waiter, [&reader] { return run_transfer(reader); });
    say(tty, "Příjem dat ukončen.\n");
    if (tty >= 0) close(tty);
    return result;
}

}  // namespace ravelo

// Online polling: the timing rule shared by the Win32 timer window and the terminal loop.
#pragma once

#include <cstdint>
#include <functional>

#include "reader/reader_settings.h"

namespace ravelo {

constexpr unsigned kPollTimerId = 901;

// How the polling window ended: closed (by the user, a failed transfer or a stop), or never
// shown because it could not be created.
enum class PollingEnd { closed, not_shown };

// poll_interval seconds in milliseconds, the interval kept within 1..9999.
std::uint32_t poll_period_ms(const ReaderSettings& settings);
// Without error messages the window keeps out of the way.
inline bool polling_starts_minimised(const ReaderSettings& settings) {
    return settings.show_errors == 0;
}
// A failed transfer (negative) ends polling; nothing received, or no terminal, does not.
inline bool polling_goes_on(int transfer_result) {
    return transfer_result >= 0;
}

// Where the terminal loop waits between transfers.
class PollWaiter {
  public:
    virtual ~PollWaiter() = default;
    // Waits up to limit_ms; true when the user asked to stop, before or during the wait.
    virtual bool wait_for_stop(std::uint32_t limit_ms) = 0;
};

using Transfer = std::function<int()>;

// One transfer per period, the period counted from the end of the previous transfer, until the
// user stops between transfers or a transfer fails. Always ends closed.
PollingEnd run_polling(const ReaderSettings& settings, PollWaiter& waiter,
                       const Transfer& transfer);

}  // namespace ravelo

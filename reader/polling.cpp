// The polling loop for front ends without a timer message: wait a period, transfer, repeat.
#include "reader/polling.h"

#include <algorithm>

namespace ravelo {

std::uint32_t poll_period_ms(const ReaderSettings& settings) {
    int seconds = std::clamp(settings.poll_interval, kMinPollInterval, kMaxPollInterval);
    return static_cast<std::uint32_t>(seconds) * 1000u;
}

PollingEnd run_polling(const ReaderSettings& settings, PollWaiter& waiter,
                       const Transfer& transfer) {
    while (!waiter.wait_for_stop(poll_period_ms(settings))) {
        if (!polling_goes_on(transfer())) break;
    }
    return PollingEnd::closed;
}

}  // namespace ravelo

// Releases scheduled bursts to the line in time order.
#include "tools/velmora-sim/outbox.h"

namespace sim {

void Outbox::schedule(std::uint64_t at, const Bytes& bytes) {
    if (!bytes.empty()) pending_.emplace(at, bytes);
}

void Outbox::cancel_pending() {
    pending_.clear();
}

void Outbox::advance_to(std::uint64_t now) {
    while (!pending_.empty() && pending_.begin()->first <= now) {
        auto it = pending_.begin();
        transcript_.add(Direction::from_terminal, it->first, it->second.data(), it->second.size());
        ready_.insert(ready_.end(), it->second.begin(), it->second.end());
        pending_.erase(it);
    }
}

std::optional<std::uint64_t> Outbox::next_time() const {
    if (pending_.empty()) return std::nullopt;
    return pending_.begin()->first;
}

std::size_t Outbox::take(std::uint8_t* buffer, std::size_t n) {
    std::size_t k = 0;
    while (k < n && !ready_.empty()) {
        buffer[k++] = ready_.front();
        ready_.pop_front();
    }
    return k;
}

}  // namespace sim

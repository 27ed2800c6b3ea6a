// Repaints held to what the eye can follow, so that drawing stays out of the serial exchange.
#pragma once

#include <cstdint>

namespace common {

// A paint costs milliseconds where the display is remote (Wine, a slow terminal), more than a
// short record's wire time: at most 25 a second are painted, and a caller keeps what it skipped
// to paint later.
class PaintPace {
  public:
    static constexpr std::uint32_t kIntervalMs = 40;

    // True when a paint may go ahead at now_ms (the first always may); it then counts as done.
    bool due(std::uint32_t now_ms) {
        if (painted_ && now_ms - last_ms_ < kIntervalMs) return false;
        painted_ = true;
        last_ms_ = now_ms;
        return true;
    }
    // A paint made regardless of the pace still starts the next interval.
    void painted_at(std::uint32_t now_ms) {
        painted_ = true;
        last_ms_ = now_ms;
    }
    void reset() { painted_ = false; }

  private:
    bool painted_ = false;
    std::uint32_t last_ms_ = 0;
};

}  // namespace common

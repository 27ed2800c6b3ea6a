// The lookup target: wakes on "velmor", checks and keeps each line, hands the load over on "OVER".
#include "tools/velmora-sim/lookup_target.h"

namespace sim {

namespace {

const Bytes kFull = to_bytes("FULL\r");

bool is_wake_up(const Bytes& message) {
    return message == to_bytes("velmor\r") || message == to_bytes("VELMOR\r");
}

}  // namespace

// Neither ACK nor FULL in any letter case, with a NUL and a high byte in it.
const Bytes LookupTarget::kGarbage{'?', 0xA7, 0x00, 'K', kCr};

void LookupTarget::on_receive(const std::uint8_t* data, std::size_t n, std::uint64_t now) {
    advance_to(now);
    transcript_.add(Direction::to_terminal, now, data, n);
    for (const Bytes& message : splitter_.feed(data, n)) {
        received_.push_back({now, to_text(message)});
        on_message(message, now);
    }
}

void LookupTarget::on_message(const Bytes& message, std::uint64_t now) {
    if (is_wake_up(message)) {
        on_wake_up(now);
    } else if (!awake_) {
        return;
    } else if (message == kOver) {
        answer(now, kAck);
        loads_.push_back(lines_);
        if (on_load_) on_load_(lines_);
        awake_ = false;
    } else {
        on_record(message, now);
    }
}

void LookupTarget::on_wake_up(std::uint64_t now) {
    if (config_.faults.asleep) return;
    // Every attempt sends the whole file again, so a wake-up starts a fresh load.
    awake_ = true;
    lines_.clear();
    kept_bytes_ = 0;
    sends_.clear();
    answer(now, to_bytes(config_.faults.ack_lowercase ? "ack\r" : "ACK\r"));
}

void LookupTarget::on_record(const Bytes& message, std::uint64_t now) {
    const std::size_t index = lines_.size();
    const std::size_t send = ++sends_[index];
    const LookupFaults& f = config_.faults;
    auto miss = f.miss_ack.find(index);
    if (miss != f.miss_ack.end() && send <= miss->second) return;
    if (send == 1 && f.garbage_at.count(index)) {
        answer(now, kGarbage);
        return;
    }
    Bytes payload;
    if (!check_lookup_record(Bytes(message.begin(), message.end() - 1), &payload)) {
        if (!f.silent_on_bad_checksum) answer(now, kNak);
        return;
    }
    if (config_.memory_bytes && kept_bytes_ + payload.size() + 2 > *config_.memory_bytes) {
        answer(now, kFull);
        return;
    }
    kept_bytes_ += payload.size() + 2;
    lines_.push_back(std::move(payload));
    answer(now, kAck);
}

void LookupTarget::answer(std::uint64_t now, const Bytes& text) {
    outbox_.schedule(now + config_.response_delay_ms, config_.faults.garbage ? kGarbage : text);
}

}  // namespace sim

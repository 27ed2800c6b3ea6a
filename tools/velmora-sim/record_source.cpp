// The record source: answers "READ\r", sends a batch record by record, resends on NAK or silence.
#include "tools/velmora-sim/record_source.h"

#include <algorithm>

namespace sim {

namespace {

const Bytes kRead = to_bytes("READ\r");

Bytes stretched(const Bytes& data, std::size_t size) {
    Bytes out;
    for (std::size_t k = 0; k < size; ++k)
        out.push_back(data.empty() ? 'X' : data[k % data.size()]);
    return out;
}

// Repeatable "random" bytes: never CR, and never 0..9, so noise cannot pass for a sequence byte.
Bytes noise_for(std::size_t index, std::size_t count) {
    Bytes out;
    std::uint32_t x = static_cast<std::uint32_t>(index) * 2654435761u + 12345u;
    for (std::size_t k = 0; k < count; ++k) {
        x = x * 1103515245u + 12345u;
        out.push_back(static_cast<std::uint8_t>(0x20 + (x >> 16) % 0xE0));
    }
    return out;
}

}  // namespace

RecordSource::RecordSource(SourceConfig config) : config_(std::move(config)) {}

void RecordSource::on_receive(const std::uint8_t* data, std::size_t n, std::uint64_t now) {
    advance_to(now);
    transcript_.add(Direction::to_terminal, now, data, n);
    for (const Bytes& message : splitter_.feed(data, n)) {
        received_.push_back({now, to_text(message)});
        on_message(message, now);
    }
}

void RecordSource::advance_to(std::uint64_t now) {
    // An unanswered record goes out again after each full wait.
    while (phase_ == Phase::awaiting && now >= deadline_) send_current(deadline_);
    outbox_.advance_to(now);
}

std::optional<std::uint64_t> RecordSource::next_event_time() const {
    std::optional<std::uint64_t> next = outbox_.next_time();
    if (phase_ == Phase::awaiting) next = next ? std::min(*next, deadline_) : deadline_;
    return next;
}

std::size_t RecordSource::take(std::uint8_t* buffer, std::size_t n) {
    return outbox_.take(buffer, n);
}

void RecordSource::on_message(const Bytes& message, std::uint64_t now) {
    if (phase_ == Phase::silent) return;
    if (message == kRead) {
        on_request(now);
    } else if (message == kAck || message == kNak) {
        on_answer(message == kAck, now);
    }
}

void RecordSource::on_request(std::uint64_t now) {
    if (now < busy_until_) return;  // already answering an earlier request
    const SourceFaults& f = config_.faults;
    const bool faulty = !f.request_fault_count || requests_ < *f.request_fault_count;
    ++requests_;
    // A request in the middle of a batch means the reader started over: so does the terminal.
    outbox_.cancel_pending();
    phase_ = Phase::idle;
    std::uint64_t answer_at = now + config_.response_delay_ms;
    if (faulty) {
        switch (f.request) {
            case SourceFaults::Request::silent:
                return;
            case SourceFaults::Request::wrong:
                outbox_.schedule(answer_at, to_bytes(f.wrong_answer + "\r"));
                busy_until_ = answer_at;
                return;
            case SourceFaults::Request::late:
                answer_at = now + f.late_ms;
                break;
            case SourceFaults::Request::answer:
                break;
        }
    }
    outbox_.schedule(answer_at, kAck);
    busy_until_ = answer_at;
    start_batch(answer_at + config_.response_delay_ms);
}

void RecordSource::start_batch(std::uint64_t at) {
    index_ = 0;
    sends_ = 0;
    repeated_after_ack_ = false;
    if (batch_records().empty()) {
        finish_batch(at);
    } else {
        send_current(at);
    }
}

void RecordSource::on_answer(bool ack, std::uint64_t now) {
    // An answer from before the current send went out cannot be about it (a repeated ACK,
    // or the reader's own time-out NAK while the terminal pauses).
    if (phase_ != Phase::awaiting || now < sent_at_) return;
    const std::uint64_t at = now + config_.response_delay_ms;
    if (!ack) {
        send_current(at);
        return;
    }
    if (!repeated_after_ack_) acknowledged_.push_back({batch_, index_, now});
    if (faults_apply() && config_.faults.repeat_after_ack.count(index_) && !repeated_after_ack_) {
        repeated_after_ack_ = true;
        send_current(at);
        return;
    }
    next_record(at);
}

void RecordSource::send_current(std::uint64_t at) {
    const bool first = sends_ == 0;
    const SourceFaults& f = config_.faults;
    if (first && faults_apply()) {
        if (f.silent_from && index_ >= *f.silent_from) {
            phase_ = Phase::silent;
            return;
        }
        auto pause = f.pause_before.find(index_);
        if (pause != f.pause_before.end()) at += pause->second;
    }
    outbox_.schedule(at, current_frame(first));
    ++sends_;
    sent_at_ = at;
    deadline_ = at + config_.wait_ms;
    phase_ = Phase::awaiting;
}

void RecordSource::next_record(std::uint64_t at) {
    ++index_;
    sends_ = 0;
    repeated_after_ack_ = false;
    if (index_ >= batch_records().size()) {
        finish_batch(at);
    } else {
        send_current(at);
    }
}

void RecordSource::finish_batch(std::uint64_t at) {
    outbox_.schedule(at, kOver);
    busy_until_ = at;
    phase_ = Phase::idle;
    ++batches_done_;
    ++batch_;
}

bool RecordSource::faults_apply() const {
    return !config_.faults.only_batch || *config_.faults.only_batch == batch_;
}

const Records& RecordSource::batch_records() const {
    static const Records kNone;
    const auto& batches = config_.batches;
    if (batch_ < batches.size()) return batches[batch_];
    if (config_.repeat_batches && !batches.empty()) return batches[batch_ % batches.size()];
    return kNone;
}

Bytes RecordSource::current_frame(bool first_send) const {
    const Bytes& data = batch_records()[index_];
    const auto sequence = static_cast<std::uint8_t>(index_ % 10);
    const SourceFaults& f = config_.faults;
    if (!first_send || !faults_apply()) return frame_record(sequence, data);

    const Bytes body = f.oversize.count(index_) ? stretched(data, f.oversize_bytes) : data;
    const bool skip = f.skip_sequence.count(index_) > 0;
    Bytes frame =
        frame_record(static_cast<std::uint8_t>(skip ? (sequence + 1) % 10 : sequence), body);
    if (f.bad_checksum.count(index_)) {
        std::uint8_t& low = frame[frame.size() - 3];
        low = low == 0x55 ? 0xAA : 0x55;
    }
    if (f.noise.count(index_)) {
        const Bytes noise = noise_for(index_, f.noise_bytes);
        frame.insert(frame.begin(), noise.begin(), noise.end());
    }
    return frame;
}

}  // namespace sim

// The terminal being loaded with a lookup table: the sender's far end, on any clock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "tools/simulated-line/simulated_line.h"
#include "tools/velmora-sim/message_splitter.h"
#include "tools/velmora-sim/outbox.h"
#include "tools/velmora-sim/record_source.h"
#include "tools/velmora-sim/transcript.h"

namespace sim {

// Misbehaviour on request. Records are named by their 0-based index in the current load.
struct LookupFaults {
    bool asleep = false;         // no answer to wake-ups
    bool ack_lowercase = false;  // "ack\r" to a wake-up
    bool garbage = false;        // every answer is garbage
    // Record index -> how many of its sends get no answer at all (the record is not taken).
    std::map<std::size_t, std::size_t> miss_ack;
    std::set<std::size_t> garbage_at;     // the record's first send is answered with garbage
    bool silent_on_bad_checksum = false;  // "NAK\r" otherwise
};

struct LookupConfig {
    std::uint32_t response_delay_ms = 1;
    // Bytes the terminal can hold, counting each line as stored: payload plus CR LF.
    std::optional<std::size_t> memory_bytes;
    LookupFaults faults;
};

class LookupTarget : public simline::LinePeer {
  public:
    using Lines = std::vector<Bytes>;

    explicit LookupTarget(LookupConfig config) : config_(std::move(config)) {}

    void on_receive(const std::uint8_t* data, std::size_t n, std::uint64_t now) override;
    void advance_to(std::uint64_t now) override { outbox_.advance_to(now); }
    std::optional<std::uint64_t> next_event_time() const override { return outbox_.next_time(); }
    std::size_t available() const override { return outbox_.available(); }
    std::size_t take(std::uint8_t* buffer, std::size_t n) override {
        return outbox_.take(buffer, n);
    }

    // Called with the lines of each load ended by an acknowledged "OVER\r".
    void set_on_load(std::function<void(const Lines&)> on_load) { on_load_ = std::move(on_load); }
    const Lines& pending_lines() const { return lines_; }
    const std::vector<Lines>& loads() const { return loads_; }
    const std::vector<ReceivedMessage>& received() const { return received_; }
    bool quiet() const { return outbox_.empty(); }
    Transcript& transcript() { return transcript_; }

    static const Bytes kGarbage;

  private:
    void on_message(const Bytes& message, std::uint64_t now);
    void on_wake_up(std::uint64_t now);
    void on_record(const Bytes& message, std::uint64_t now);
    void answer(std::uint64_t now, const Bytes& text);

    LookupConfig config_;
    Transcript transcript_;
    Outbox outbox_{transcript_};
    MessageSplitter splitter_;
    bool awake_ = false;
    Lines lines_;
    std::size_t kept_bytes_ = 0;
    std::map<std::size_t, std::size_t> sends_;  // per record index, in this load
    std::vector<Lines> loads_;
    std::vector<ReceivedMessage> received_;
    std::function<void(const Lines&)> on_load_;
};

}  // namespace sim

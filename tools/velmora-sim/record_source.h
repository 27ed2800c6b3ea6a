// The terminal handing over its collected records: the reader's far end, on any clock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "tools/simulated-line/simulated_line.h"
#include "tools/velmora-sim/message_splitter.h"
#include "tools/velmora-sim/outbox.h"
#include "tools/velmora-sim/records.h"
#include "tools/velmora-sim/transcript.h"

namespace sim {

// Misbehaviour on request. Record faults name a record by its 0-based index in the batch and,
// except silence, spoil only that record's first send, so the reader's rejection and the
// terminal's resend can be seen to mend them.
struct SourceFaults {
    std::set<std::size_t> bad_checksum;      // low checksum byte wrong
    std::set<std::size_t> skip_sequence;     // carries the sequence number after its own
    std::set<std::size_t> repeat_after_ack;  // sent once more after its ACK, as if that was lost
    std::set<std::size_t> oversize;          // data stretched to oversize_bytes
    std::set<std::size_t> noise;             // a few non-CR bytes just before the record
    std::map<std::size_t, std::uint32_t> pause_before;  // ms of extra delay before the record
    std::optional<std::size_t> silent_from;  // from this record on, no byte and no answer ever
    std::optional<std::size_t> only_batch;   // record faults in this batch only (0-based)
    std::size_t oversize_bytes = 300;
    std::size_t noise_bytes = 4;

    // The answer to "READ\r": for the first request_fault_count requests (all when unset).
    enum class Request { answer, silent, wrong, late } request = Request::answer;
    std::string wrong_answer = "NAK";  // sent with a CR
    std::uint32_t late_ms = 0;
    std::optional<std::size_t> request_fault_count;
};

struct SourceConfig {
    // Batch i serves batches[i]; past the end, empty batches ("ACK\r" then "OVER\r") unless
    // repeat_batches cycles through the list again.
    std::vector<Records> batches;
    bool repeat_batches = false;
    // Time from a message to the terminal's reaction. 1 ms rather than 0, so an answer that
    // crosses with the next record (a repeated "ACK\r") is seen to predate it.
    std::uint32_t response_delay_ms = 1;
    // How long a sent record waits for its answer before it is sent again.
    std::uint32_t wait_ms = 1000;
    SourceFaults faults;
};

struct ReceivedMessage {
    std::uint64_t time;  // when its CR arrived
    std::string text;    // with the CR
};

struct AckedRecord {
    std::size_t batch;
    std::size_t index;
    std::uint64_t time;
};

class RecordSource : public simline::LinePeer {
  public:
    explicit RecordSource(SourceConfig config);

    void on_receive(const std::uint8_t* data, std::size_t n, std::uint64_t now) override;
    void advance_to(std::uint64_t now) override;
    std::optional<std::uint64_t> next_event_time() const override;
    std::size_t available() const override { return outbox_.available(); }
    std::size_t take(std::uint8_t* buffer, std::size_t n) override;

    const std::vector<ReceivedMessage>& received() const { return received_; }
    // Each record's first acknowledgement, in order.
    const std::vector<AckedRecord>& acknowledged() const { return acknowledged_; }
    // Batches ended with "OVER\r" (counted once it is scheduled).
    std::size_t batches_done() const { return batches_done_; }
    // Nothing left to send and no record waiting for its answer.
    bool quiet() const { return phase_ != Phase::awaiting && outbox_.empty(); }
    Transcript& transcript() { return transcript_; }

  private:
    enum class Phase { idle, awaiting, silent };

    void on_message(const Bytes& message, std::uint64_t now);
    void on_request(std::uint64_t now);
    void on_answer(bool ack, std::uint64_t now);
    void start_batch(std::uint64_t at);
    void send_current(std::uint64_t at);
    void next_record(std::uint64_t at);
    void finish_batch(std::uint64_t at);
    bool faults_apply() const;
    const Records& batch_records() const;
    Bytes current_frame(bool first_send) const;

    SourceConfig config_;
    Transcript transcript_;
    Outbox outbox_{transcript_};
    MessageSplitter splitter_;
    Phase phase_ = Phase::idle;
    std::size_t batch_ = 0;
    std::size_t index_ = 0;
    std::size_t sends_ = 0;  // sends of the current record
    bool repeated_after_ack_ = false;
    std::uint64_t busy_until_ = 0;  // an answer to "READ\r" or an "OVER\r" is still to go out
    std::uint64_t sent_at_ = 0;
    std::uint64_t deadline_ = 0;
    std::size_t requests_ = 0;
    std::size_t batches_done_ = 0;
    std::vector<ReceivedMessage> received_;
    std::vector<AckedRecord> acknowledged_;
};

}  // namespace sim

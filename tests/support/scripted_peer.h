// A test's terminal: a script of steps on the virtual clock, and a transcript of what it heard.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tools/simulated-line/simulated_line.h"

namespace testing_support {

// Bytes the program wrote in one write, with the virtual time they arrived.
struct Heard {
    std::uint64_t time;
    std::string bytes;
    bool operator==(const Heard& o) const { return time == o.time && bytes == o.bytes; }
};

// Steps run in order. A delay counts from the moment the previous step was done; an "expect"
// is done when the program has written the bytes it names (they are checked, in order).
class ScriptedPeer : public simline::LinePeer {
  public:
    ScriptedPeer& expect(const std::string& bytes);
    ScriptedPeer& send(const std::string& bytes, std::uint64_t after_ms = 0);
    // Runs a check at this point of the exchange (e.g. what the file holds now).
    ScriptedPeer& then(std::function<void()> action);

    const std::vector<Heard>& heard() const { return heard_; }
    // Expectations that did not match, as "expected X, heard Y".
    const std::vector<std::string>& mismatches() const { return mismatches_; }
    bool script_done() const { return steps_.empty(); }

    void on_receive(const std::uint8_t* data, std::size_t n, std::uint64_t now) override;
    void advance_to(std::uint64_t now) override;
    std::optional<std::uint64_t> next_event_time() const override;
    std::size_t available() const override { return outgoing_.size(); }
    std::size_t take(std::uint8_t* buffer, std::size_t n) override;

  private:
    struct Step {
        enum Kind { expecting, sending, acting } kind;
        std::string bytes;
        std::uint64_t after_ms = 0;
        std::function<void()> run;
    };
    void run_steps(std::uint64_t now);
    std::uint64_t due_time() const { return step_started_ + steps_.front().after_ms; }

    std::deque<Step> steps_;
    std::uint64_t step_started_ = 0;
    std::string unmatched_;  // heard, not yet consumed by an expect
    std::deque<std::uint8_t> outgoing_;
    std::vector<Heard> heard_;
    std::vector<std::string> mismatches_;
};

// Bytes of a string literal with embedded control bytes, e.g. bytes({0, 'A', 0x41, 0, 0x0D}).
std::string bytes_of(std::initializer_list<int> values);
// A well-formed record with the given sequence number and data, framed as the terminal frames it.
std::string make_record(int sequence, const std::string& data);
// Readable form of wire bytes for failure output: "READ\r" -> "READ\\r", others as \xNN.
std::string printable(const std::string& bytes);
// So that a failed comparison shows a readable transcript.
void PrintTo(const Heard& heard, std::ostream* out);

}  // namespace testing_support

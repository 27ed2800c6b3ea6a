// A serial line whose far end is an in-process peer on a virtual clock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/serial.h"
#include "tools/simulated-line/virtual_clock.h"

namespace simline {

using platform::LineSettings;
using platform::OpenedLine;
using platform::OpenError;
using platform::SerialLine;
using platform::SerialPorts;
using platform::WriteLimit;

// The far end of a simulated line (a simulated terminal, or a test's script).
// Times are milliseconds on the line's virtual clock.
class LinePeer {
  public:
    virtual ~LinePeer() = default;
    // Bytes the program has written, arriving at time now.
    virtual void on_receive(const std::uint8_t* data, std::size_t n, std::uint64_t now) = 0;
    // Lets the peer act on time passing (answers falling due, its own time-outs).
    virtual void advance_to(std::uint64_t now) = 0;
    // The next time the peer will act on its own; nothing when it only waits for input.
    virtual std::optional<std::uint64_t> next_event_time() const = 0;
    // Bytes that have reached the program's end of the line by now.
    virtual std::size_t available() const = 0;
    virtual std::size_t take(std::uint8_t* buffer, std::size_t n) = 0;
};

// Ends a test that would otherwise spin or run on for ever, with a message saying which cap.
class NoProgress : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A program loop that never ends shows on its line: either polls that neither move the clock
// nor carry a byte, or a clock that runs on and on (a message repeated without end).
struct ProgressCap {
    std::uint64_t virtual_ms = 600'000;  // protocol time from opening the line
    std::uint64_t idle_polls = 100'000;  // reads and waits in a row with nothing happening
};

// What the program did to the line, for assertions on the exact bytes and times.
struct LineEvent {
    enum Kind { written, read } kind;
    std::uint64_t time;
    std::vector<std::uint8_t> bytes;
};

class SimulatedLine : public SerialLine {
  public:
    SimulatedLine(VirtualClock& clock, LinePeer& peer, const LineSettings& settings = {},
                  std::shared_ptr<std::vector<LineEvent>> log = nullptr,
                  std::function<void()> on_close = nullptr);
    ~SimulatedLine() override;

    std::size_t read(std::uint8_t* buffer, std::size_t n) override;
    std::size_t write(const std::uint8_t* data, std::size_t n) override;
    bool wait_for_input(std::uint32_t limit_ms) override;
    void discard_input() override;

    // The settings the line was opened with.
    std::uint32_t baud() const { return settings_.baud; }
    std::uint32_t in_queue() const { return settings_.in_buffer; }
    std::uint32_t out_queue() const { return settings_.out_buffer; }
    const WriteLimit& write_timeouts() const { return settings_.write_limit; }
    // A line that takes only this many more bytes before writes fall short (tests of failure).
    void limit_writes(std::size_t bytes) { write_budget_ = bytes; }
    void set_progress_cap(const ProgressCap& cap) { cap_ = cap; }
    // The adapter is pulled out after this many more writes: from then on every read and write
    // fails and waits return at once.
    void pull_out_after_writes(std::size_t writes) { writes_before_pull_ = writes; }
    bool failed() const override { return writes_before_pull_ && *writes_before_pull_ == 0; }
    const std::vector<LineEvent>& events() const { return *log_; }

  private:
    // Throws NoProgress when a cap is passed; `moved` says whether this call carried bytes.
    void check_progress(bool moved);

    VirtualClock& clock_;
    LinePeer& peer_;
    ProgressCap cap_;
    std::uint64_t opened_at_;
    std::uint64_t last_poll_at_;
    std::uint64_t idle_polls_ = 0;
    LineSettings settings_;
    std::optional<std::size_t> write_budget_;
    std::optional<std::size_t> writes_before_pull_;
    std::shared_ptr<std::vector<LineEvent>> log_;
    std::function<void()> on_close_;
};

// Hands out simulated lines for a chosen port, so a program's own open path is exercised. A
// speed of 0 (none from the list) is refused, as a real port refuses it.
class SimulatedPorts : public SerialPorts {
  public:
    SimulatedPorts(VirtualClock& clock, LinePeer& peer) : clock_(clock), peer_(peer) {}
    OpenedLine open(unsigned port_number, const LineSettings& settings) override;

    void set_available_port(const std::string& name) { available_port_ = name; }
    void refuse_configuration(bool refuse) { refuse_configuration_ = refuse; }
    // For every line opened from now on.
    void set_progress_cap(const ProgressCap& cap) { cap_ = cap; }
    void pull_out_after_writes(std::size_t writes) { writes_before_pull_ = writes; }
    // The line most recently opened, alive while the program holds it (nullptr otherwise).
    SimulatedLine* current_line() const { return current_; }
    // The names of the ports asked for ("COM1"), in order.
    const std::vector<std::string>& opened_ports() const { return opened_; }
    // Events of every line opened so far, in order.
    const std::vector<LineEvent>& events() const { return *history_; }

  private:
    VirtualClock& clock_;
    LinePeer& peer_;
    std::string available_port_ = "COM1";
    bool refuse_configuration_ = false;
    ProgressCap cap_;
    std::optional<std::size_t> writes_before_pull_;
    SimulatedLine* current_ = nullptr;
    std::vector<std::string> opened_;
    std::shared_ptr<std::vector<LineEvent>> history_ = std::make_shared<std::vector<LineEvent>>();
};

}  // namespace simline

// A serial line that appends its traffic to a trace file: writes are bursts of their own;
// received bytes gather into one burst until a CR ends a message or the program writes or waits.
#include "common/traced_line.h"

#include <cstdio>
#include <optional>

#include "common/checksum.h"
#include "common/wire_trace.h"
#include "platform/environment.h"
#include "platform/file.h"
#include "platform/file_failure.h"

namespace common {

namespace {

class TracedLine : public platform::SerialLine {
  public:
    TracedLine(std::unique_ptr<platform::SerialLine> line, platform::Clock& clock,
               platform::File trace, std::uint32_t start)
        : line_(std::move(line)), clock_(clock), trace_(std::move(trace)), start_(start) {}
    ~TracedLine() override { flush_received(); }

    std::size_t read(std::uint8_t* buffer, std::size_t n) override {
        const std::size_t got = line_->read(buffer, n);
        for (std::size_t i = 0; i < got; ++i) {
            if (!received_) received_ = Burst{Direction::from_terminal, now(), {}};
            received_->bytes.push_back(buffer[i]);
            if (buffer[i] == kCarriageReturn) flush_received();
        }
        return got;
    }

    std::size_t write(const std::uint8_t* data, std::size_t n) override {
        flush_received();
        const std::uint64_t at = now();
        const std::size_t put = line_->write(data, n);
        append(Burst{Direction::to_terminal, at, {data, data + put}});
        return put;
    }

    bool wait_for_input(std::uint32_t limit_ms) override {
        flush_received();
        return line_->wait_for_input(limit_ms);
    }

    void discard_input() override {
        flush_received();
        line_->discard_input();
    }

    bool failed() const override { return line_->failed(); }
    std::string failure_detail() const override { return line_->failure_detail(); }

  private:
    std::uint64_t now() const { return static_cast<std::uint32_t>(clock_.tick_ms() - start_); }

    void flush_received() {
        if (!received_) return;
        append(*received_);
        received_.reset();
    }

    // A line at a time, so a program that is killed still leaves what it did so far.
    void append(const Burst& burst) {
        if (burst.bytes.empty()) return;
        trace_.write(format_burst(burst) + "\n");
    }

    std::unique_ptr<platform::SerialLine> line_;
    platform::Clock& clock_;
    platform::File trace_;
    std::uint32_t start_;
    std::optional<Burst> received_;
};

// The time origin of the process's trace, taken when the first line is traced.
std::uint32_t trace_start(platform::Clock& clock) {
    static const std::uint32_t start = clock.tick_ms();
    return start;
}

// Support asked for a trace and would get none without a word; once per run is enough, as
// online polling opens the line again for every poll.
void warn_trace_not_written(const std::string& path, const platform::File& trace) {
    static bool warned = false;
    if (warned) return;
    warned = true;
    const std::string text = platform::file_failure_message(
        "Záznam komunikace (VELMORA_TRACE) nelze zapsat, program pokračuje bez něj.", path,
        trace.system_error());
    std::fprintf(stderr, "%s\n", text.c_str());
}

}  // namespace

std::unique_ptr<platform::SerialLine> trace_if_asked(std::unique_ptr<platform::SerialLine> line,
                                                     platform::Clock& clock) {
    const std::string path = platform::environment_variable(kTraceVariable);
    if (!line || path.empty()) return line;
    platform::FileError error = platform::FileError::none;
    platform::File trace = platform::File::open(path, platform::Creation::open_always, &error);
    if (!trace.is_open() || !trace.seek_to_end()) {
        warn_trace_not_written(path, trace);
        return line;
    }
    return std::make_unique<TracedLine>(std::move(line), clock, std::move(trace),
                                        trace_start(clock));
}

}  // namespace common

// Fuzz target: a lookup file of any bytes cut into records and sent to a terminal whose faults
// come from the input, on the simulated line. What the terminal keeps must be the file's lines,
// each once, in order; a terminal that answers in time must get the whole file; the attempt must
// end within the time its answers allow.
#include <fuzzer/FuzzedDataProvider.h>

#include "platform/paths.h"
#include "sender/lookup_lines.h"
#include "sender/send_attempt.h"
#include "sender/serial_port.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/support/attempt_number.h"
#include "tests/support/recording_ui.h"
#include "tools/velmora-sim/lookup_target.h"

namespace {

using Lines = sim::LookupTarget::Lines;

// The file's lines as the user sees them: CR, CR LF or LF ends one; a last line without an end
// counts; no empty line follows the last line end.
Lines lines_of(const std::string& file) {
    Lines lines;
    sim::Bytes line;
    bool open = false;
    for (std::size_t i = 0; i < file.size(); ++i) {
        const auto b = static_cast<std::uint8_t>(file[i]);
        if (b == '\n' && i > 0 && file[i - 1] == '\r') continue;
        if (b == '\r' || b == '\n') {
            lines.push_back(line);
            line.clear();
            open = false;
        } else {
            line.push_back(b);
            open = true;
        }
    }
    if (open) lines.push_back(line);
    return lines;
}

struct Script {
    sim::LookupConfig config;
    std::string file;
    Lines lines;
    bool fits = true;            // every line fits a record
    bool answers_enough = true;  // the terminal takes every line within four sends
    std::uint32_t clock_start = 0;
};

Script read_script(FuzzedDataProvider& input) {
    Script s;
    sim::LookupFaults& f = s.config.faults;
    // Answers come within the 3 s wait: a later one would be taken for the next send's, and
    // records carry no number that could tell them apart.
    s.config.response_delay_ms =
        input.ConsumeIntegralInRange<std::uint32_t>(1, lumbra::kAnswerLimitMs - 1);
    s.clock_start = input.ConsumeIntegral<std::uint32_t>();
    const auto kinds = input.ConsumeIntegral<std::uint8_t>();
    f.asleep = (kinds & 0x0F) == 1;
    f.garbage = (kinds & 0x0F) == 2;
    f.ack_lowercase = kinds & 0x10;
    f.silent_on_bad_checksum = kinds & 0x20;
    if (kinds & 0x40) s.config.memory_bytes = input.ConsumeIntegralInRange<std::size_t>(0, 4000);
    const auto faulty = input.ConsumeIntegralInRange<std::size_t>(0, 6);
    for (std::size_t k = 0; k < faulty; ++k) {
        const auto index = input.ConsumeIntegralInRange<std::size_t>(0, 40);
        if (input.ConsumeBool()) f.garbage_at.insert(index);
        f.miss_ack[index] = input.ConsumeIntegralInRange<std::size_t>(0, 5);
    }
    s.file = input.ConsumeRemainingBytesAsString();
    s.lines = lines_of(s.file);
    std::size_t stored = 0;
    for (const auto& line : s.lines) {
        s.fits = s.fits && line.size() <= lumbra::kMaxPayloadBytes;
        stored += line.size() + 2;
    }
    for (const auto& [index, missed] : f.miss_ack) {
        const std::size_t spoiled = missed + (f.garbage_at.count(index) ? 1 : 0);
        if (index < s.lines.size() && spoiled >= lumbra::kRecordSends) s.answers_enough = false;
    }
    s.answers_enough = s.answers_enough && !f.asleep && !f.garbage &&
                       (!s.config.memory_bytes || stored <= *s.config.memory_bytes);
    return s;
}

bool is_prefix(const Lines& part, const Lines& whole) {
    return part.size() <= whole.size() && std::equal(part.begin(), part.end(), whole.begin());
}

void check_progress(const std::vector<int>& positions, int result) {
    int last = 0;
    for (const int percent : positions) {
        fuzz::require(percent >= last && percent <= 100, "the bar only moves forward, to 100");
        last = percent;
    }
    fuzz::require(result != 1 || last == 100, "a finished load leaves the bar at 100");
}

void check_attempt(const Script& s, int result, const sim::LookupTarget& terminal,
                   const fuzz::SenderUser& ui) {
    fuzz::require(result >= -1 && result <= 1, "an attempt succeeds, fails or fails on the file");
    if (!s.fits) {
        fuzz::require(result == -1 && terminal.received().empty(),
                      "a line too long for a record stops the attempt before a byte is sent");
        return;
    }
    fuzz::require(is_prefix(terminal.pending_lines(), s.lines),
                  "the terminal keeps the file's lines, each once, in order");
    fuzz::require(
        result == 1 ? terminal.loads() == std::vector<Lines>{s.lines} : terminal.loads().empty(),
        "the end marker is acknowledged exactly when the whole file is loaded");
    fuzz::require(!s.answers_enough || result == 1,
                  "a terminal that answers in time gets the whole file");
    check_progress(ui.progress, result);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const Script script = read_script(input);
    const std::string path = platform::join_path(fuzz::scratch_folder(), "LIST.TXT");
    fuzz::write_file(path, script.file);

    simline::VirtualClock clock(script.clock_start);
    sim::LookupTarget terminal(script.config);
    simline::SimulatedPorts ports(clock, terminal);
    // Three wake-ups and four sends of every record and of the end marker, each within 3 s.
    const std::uint64_t allowed =
        (lumbra::kWakeUpTries + (script.lines.size() + 1) * lumbra::kRecordSends) *
            (lumbra::kAnswerLimitMs + 1) +
        1000;
    ports.set_progress_cap({allowed, 100'000});
    testing_support::RecordingBoxes boxes;
    fuzz::SenderUser ui;
    lumbra::Sender sender(ports, clock, boxes, ui);
    sender.lookup.load(platform::File::open(path, platform::Creation::open_existing, nullptr,
                                            platform::File::Access::read_only),
                       lumbra::kLookupMemoryLimit);
    fuzz::require(
        sender.lookup.is_open() && lumbra::open_serial_port(sender) == common::LineOpen::opened,
        "lookup file and port open");
    try {
        const int result = testing_support::attempt_number(lumbra::send_attempt(sender));
        check_attempt(script, result, terminal, ui);
    } catch (const simline::NoProgress& stuck) {
        fuzz::require(false, stuck.what());
    }
    return 0;
}

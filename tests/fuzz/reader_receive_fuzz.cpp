// Fuzz target: the receive protocol against a terminal whose records, faults and timing come
// from the input, on the simulated line. Every stored line must be a record the terminal sent,
// once, in order, and the transfer must end within the time the terminal's script allows.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>

#include "platform/paths.h"
#include "reader/receive_records.h"
#include "reader/serial_port.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_dir.h"
#include "tools/velmora-sim/record_source.h"

namespace {

constexpr std::size_t kMaxRecords = 24;
constexpr std::size_t kMaxData = 251;

sim::Bytes record_data(FuzzedDataProvider& input) {
    sim::Bytes data =
        input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange<std::size_t>(0, kMaxData));
    for (auto& b : data) {
        if (b == sim::kCr) b = 0x0E;  // the terminal's records never hold a CR
    }
    return data;
}

// A stretched record is rejected only when its first 255 bytes fail the checksum; with some
// data they pass, and the reader rightly takes them. Such a fault proves nothing.
bool oversize_is_detectable(const sim::Bytes& data, std::size_t index, std::size_t size) {
    sim::Bytes body;
    for (std::size_t k = 0; k < size; ++k)
        body.push_back(data.empty() ? 'X' : data[k % data.size()]);
    const sim::Bytes frame = sim::frame_record(static_cast<std::uint8_t>(index % 10), body);
    unsigned sum = 0;
    for (std::size_t k = 0; k < ravelo::kRecordKeep - 3; ++k) sum += frame[k];
    return frame[ravelo::kRecordKeep - 3] != sim::escape_checksum_byte(sum & 0xFF) ||
           frame[ravelo::kRecordKeep - 2] != sim::escape_checksum_byte((sum >> 8) & 0xFF);
}

void add_record_faults(FuzzedDataProvider& input, const sim::Bytes& data, std::size_t index,
                       sim::SourceConfig& config) {
    sim::SourceFaults& f = config.faults;
    const auto kinds = input.ConsumeIntegral<std::uint8_t>();
    if (kinds & 1) f.bad_checksum.insert(index);
    if (kinds & 2) f.skip_sequence.insert(index);
    if (kinds & 4) f.repeat_after_ack.insert(index);
    if ((kinds & 8) && oversize_is_detectable(data, index, f.oversize_bytes))
        f.oversize.insert(index);
    if (kinds & 16) f.noise.insert(index);
    if (kinds & 32) f.pause_before[index] = input.ConsumeIntegralInRange<std::uint32_t>(0, 4000);
}

void add_request_faults(FuzzedDataProvider& input, sim::SourceFaults& f) {
    f.request = static_cast<sim::SourceFaults::Request>(input.ConsumeIntegralInRange<int>(0, 3));
    f.wrong_answer = input.ConsumeRandomLengthString(12);
    for (auto& c : f.wrong_answer) {
        if (c == '\r') c = '?';
    }
    f.late_ms = input.ConsumeIntegralInRange<std::uint32_t>(0, 5000);
    if (input.ConsumeBool())
        f.request_fault_count = input.ConsumeIntegralInRange<std::size_t>(0, 8);
}

struct Script {
    sim::SourceConfig config;
    bool online = false;
    bool append_cr = true;
    bool append_lf = true;
    std::uint64_t time_allowed = 0;  // ms of protocol time the transfer may take at most
    std::uint32_t clock_start = 0;   // near 2^32 the tick counter wraps during the transfer
};

Script read_script(FuzzedDataProvider& input) {
    Script s;
    s.clock_start = input.ConsumeIntegral<std::uint32_t>();
    s.online = input.ConsumeBool();
    s.append_cr = input.ConsumeBool();
    s.append_lf = input.ConsumeBool();
    s.config.response_delay_ms = input.ConsumeIntegralInRange<std::uint32_t>(1, 50);
    s.config.wait_ms = input.ConsumeIntegralInRange<std::uint32_t>(50, 3000);
    add_request_faults(input, s.config.faults);
    sim::Records records(input.ConsumeIntegralInRange<std::size_t>(0, kMaxRecords));
    std::uint64_t pauses = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        records[i] = record_data(input);
        add_record_faults(input, records[i], i, s.config);
    }
    for (const auto& pause : s.config.faults.pause_before) pauses += pause.second;
    if (input.ConsumeBool())
        s.config.faults.silent_from = input.ConsumeIntegralInRange<std::size_t>(0, kMaxRecords);
    s.config.batches = {records};
    const std::uint64_t per_send =
        s.config.wait_ms + ravelo::kRecordLimitMs + 2 * s.config.response_delay_ms;
    s.time_allowed = 6 * (ravelo::kOfflineAnswerLimitMs + s.config.faults.late_ms) + pauses +
                     (records.size() + 1) * 4 * per_send + 11 * ravelo::kRecordLimitMs + 10'000;
    return s;
}

std::string stored_lines(const Script& s, std::size_t count) {
    std::string out;
    for (std::size_t i = 0; i < count; ++i) {
        const sim::Bytes& data = s.config.batches[0][i];
        out.append(data.begin(), data.end());
        if (s.append_cr) out += '\r';
        if (s.append_lf) out += '\n';
    }
    return out;
}

void check_transfer(const Script& s, int result, const ravelo::Reader& reader,
                    const sim::RecordSource& terminal, std::uint64_t took) {
    const std::size_t stored = static_cast<std::size_t>(reader.stored_records);
    const std::size_t batch = s.config.batches[0].size();
    fuzz::require(stored <= batch, "no more records stored than the terminal has");
    fuzz::require(testing_support::read_bytes(reader.output_path) == stored_lines(s, stored),
                  "the file holds the terminal's records, each once, in order");
    const std::size_t acknowledged = terminal.acknowledged().size();
    fuzz::require(stored >= acknowledged && stored <= acknowledged + 1,
                  "acknowledged records are stored, and stored ones acknowledged");
    fuzz::require(result <= 0 || (static_cast<std::size_t>(result) == batch && stored == batch),
                  "a finished batch is stored whole");
    fuzz::require(result != 0 || stored == 0, "no transfer, no record");
    fuzz::require(took <= s.time_allowed, "the transfer ends in bounded time");
}

// One transfer as the run does it: port opened and configured, records received, port and file
// closed again.
int transfer(ravelo::Reader& reader) {
    fuzz::require(ravelo::open_serial_port(reader) == common::LineOpen::opened,
                  "the simulated port opens");
    const int result = ravelo::receive_records(reader).count_or_failure();
    reader.port.reset();
    reader.output.close();
    reader.output_open = false;
    return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const Script script = read_script(input);
    simline::VirtualClock clock(script.clock_start);
    sim::RecordSource terminal(script.config);
    simline::SimulatedPorts ports(clock, terminal);
    ports.set_progress_cap({script.time_allowed, 100'000});
    testing_support::RecordingUi ui;
    ravelo::Reader reader(ports, clock, ui, ui);
    reader.settings.online = script.online ? 1 : 0;
    reader.settings.append_cr = script.append_cr ? 1 : 0;
    reader.settings.append_lf = script.append_lf ? 1 : 0;
    reader.settings.file_mode = script.online ? 2 : ravelo::kOverwrite;
    reader.output_path = platform::join_path(fuzz::scratch_folder(), "OUT.TXT");
    platform::remove_file(reader.output_path);
    const std::uint64_t start = clock.now();
    try {
        const int result = transfer(reader);
        check_transfer(script, result, reader, terminal, clock.now() - start);
    } catch (const simline::NoProgress& stuck) {
        fuzz::require(false, stuck.what());
    }
    return 0;
}

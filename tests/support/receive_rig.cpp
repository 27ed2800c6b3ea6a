// The receive tests' rigs: the reader's output in a temporary folder.
#include "tests/support/receive_rig.h"

#include "platform/file.h"
#include "platform/paths.h"
#include "reader/receive_records.h"
#include "reader/serial_port.h"

namespace testing_support {

ReceiveRig::ReceiveRig() : folder(temp.path().string()) {
    reader.settings.directory = folder;
    reader.settings.file_name = "OUT.TXT";
    reader.settings.file_mode = ravelo::kOverwrite;
    reader.settings.online = 0;
    reader.output_path = platform::join_path(folder, "OUT.TXT");
}

ReceiveRig::~ReceiveRig() {
    reader.output.close();  // before the folder goes
}

std::optional<int> ReceiveRig::receive() {
    return receive_as_transfer(reader);
}

std::optional<int> receive_as_transfer(ravelo::Reader& reader) {
    if (ravelo::open_serial_port(reader) != common::LineOpen::opened) return std::nullopt;
    const int result = ravelo::receive_records(reader).count_or_failure();
    reader.port.reset();
    reader.output.close();
    reader.output_open = false;
    return result;
}

std::string ReceiveRig::file_content() const {
    std::string content;
    platform::read_whole_file(reader.output_path, &content);
    return content;
}

bool ReceiveRig::file_exists() const {
    return platform::file_exists(reader.output_path);
}

TerminalRig::TerminalRig(sim::SourceConfig config) : terminal(std::move(config)) {
    reader.settings.directory = temp.directory();
    reader.settings.file_name = "DATA.TXT";
    reader.settings.always_ask = 0;
    reader.settings.show_received = 0;
    reader.settings_path = temp.file("Ravelo.ini");
}

std::optional<int> TerminalRig::receive() {
    reader.output_path = output();
    return receive_as_transfer(reader);
}

std::size_t TerminalRig::written(const std::string& message) const {
    std::size_t n = 0;
    for (const auto& e : ports.events()) {
        n += e.kind == simline::LineEvent::written &&
             std::string(e.bytes.begin(), e.bytes.end()) == message;
    }
    return n;
}

sim::SourceConfig one_batch(sim::Records records) {
    sim::SourceConfig config;
    config.batches.push_back(std::move(records));
    return config;
}

std::string as_lines(const sim::Records& records, std::size_t count) {
    std::string out;
    for (std::size_t i = 0; i < records.size() && i < count; ++i) {
        out += std::string(records[i].begin(), records[i].end()) + "\r\n";
    }
    return out;
}

std::vector<Heard> repeated(const std::string& message, int times, std::uint64_t first_ms,
                            std::uint64_t step_ms) {
    std::vector<Heard> out;
    for (int i = 0; i < times; ++i) out.push_back({first_ms + i * step_ms, message});
    return out;
}

}  // namespace testing_support

// The receive tests' rig: a temporary output folder removed again when the test ends.
#include "tests/support/receive_rig.h"

#include <atomic>
#include <chrono>
#include <filesystem>

#include "platform/file.h"
#include "platform/paths.h"
#include "reader/receive_records.h"
#include "reader/serial_port.h"

namespace testing_support {

namespace {
std::string fresh_folder() {
    static std::atomic<int> serial{0};
    namespace fs = std::filesystem;
    const fs::path path =
        fs::temp_directory_path() /
        ("ravelo-receive-" +
         std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + "-" +
         std::to_string(serial++));
    fs::remove_all(path);
    fs::create_directories(path);
    return path.string();
}
}  // namespace

ReceiveRig::ReceiveRig() : folder(fresh_folder()) {
    reader.settings.directory = folder;
    reader.settings.file_name = "OUT.TXT";
    reader.settings.file_mode = ravelo::kOverwrite;
    reader.settings.online = 0;
    reader.output_path = platform::join_path(folder, "OUT.TXT");
}

ReceiveRig::~ReceiveRig() {
    reader.output.close();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

int ReceiveRig::receive() {
    return receive_as_transfer(reader);
}

int receive_as_transfer(ravelo::Reader& reader) {
    if (!ravelo::open_serial_port(reader)) return -100;
    const int result = ravelo::receive_records(reader);
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

std::vector<Heard> repeated(const std::string& message, int times, std::uint64_t first_ms,
                            std::uint64_t step_ms) {
    std::vector<Heard> out;
    for (int i = 0; i < times; ++i) out.push_back({first_ms + i * step_ms, message});
    return out;
}

}  // namespace testing_support

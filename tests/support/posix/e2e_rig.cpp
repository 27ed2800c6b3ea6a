// The native end-to-end rig: private copies of the programs, velmora-sim on a pseudo-terminal.
#include "tests/support/posix/e2e_rig.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

namespace testing_support {

const std::string& bin_dir() {
    static const std::string dir = VELMORA_BIN_DIR;
    return dir;
}

std::string as_lines(const sim::Records& records, const std::string& end) {
    std::string text;
    for (const auto& record : records) text += std::string(record.begin(), record.end()) + end;
    return text;
}

bool eventually(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}

std::string wait_for_file(const std::string& path, std::chrono::milliseconds limit) {
    eventually([&] { return std::filesystem::exists(path); }, limit);
    return read_bytes(path);
}

std::string with_folder(std::string text, const std::string& folder) {
    for (auto at = text.find('@'); at != std::string::npos; at = text.find('@', at)) {
        text.replace(at, 1, folder);
        at += folder.size();
    }
    return text;
}

E2eRig::E2eRig(const std::vector<std::string>& programs) {
    for (const std::string& program : programs) {
        std::filesystem::copy_file(bin_dir() + "/" + program, temp.file(program));
    }
}

std::string E2eRig::start_terminal(std::vector<std::string> args) {
    terminal.reset();
    args.insert(args.begin(), bin_dir() + "/velmora-sim");
    terminal = std::make_unique<BackgroundProcess>(args);
    const std::string device = terminal->read_line(std::chrono::seconds(5));
    EXPECT_FALSE(device.empty()) << "velmora-sim did not start";
    return device;
}

std::vector<std::string> E2eRig::in_folder(std::vector<std::string> argv) const {
    if (!argv.empty() && argv[0].find('/') == std::string::npos) argv[0] = temp.file(argv[0]);
    return argv;
}

}  // namespace testing_support

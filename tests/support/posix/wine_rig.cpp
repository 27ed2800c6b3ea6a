// The Wine end-to-end rig: a private copy of Ravelo.exe and velmora-sim behind COM1.
#include "tests/support/posix/wine_rig.h"

#include <cstdlib>
#include <filesystem>

namespace testing_support {

namespace {

using namespace std::chrono_literals;

const std::string kWineRun = std::string(VELMORA_SOURCE_DIR) + "/scripts/wine-run";

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

}  // namespace

WineRig::WineRig()
    : windows_bin_(environment("VELMORA_WINDOWS_BIN")), ports_(environment("VELMORA_WINE_PORTS")) {
    if (available()) {
        std::filesystem::copy_file(windows_bin_ + "/Ravelo.exe", temp.file("Ravelo.exe"));
    }
}

bool WineRig::start_terminal(std::vector<std::string> args) {
    args.insert(args.begin(), {std::string(VELMORA_BIN_DIR) + "/velmora-sim", "source", "--link",
                               ports_ + "/ttyCOM1"});
    terminal_ = std::make_unique<BackgroundProcess>(args);
    return !terminal_->read_line(5s).empty();
}

std::vector<std::string> WineRig::ravelo(const std::string& tail) const {
    std::vector<std::string> argv{kWineRun, temp.file("Ravelo.exe")};
    if (!tail.empty()) argv.push_back(tail);
    return argv;
}

ProcessResult WineRig::answer_box(const std::string& caption, const std::string& button,
                                  int seconds) const {
    return run_process(
        {kWineRun, windows_bin_ + "/box-answer.exe", caption, button, std::to_string(seconds)}, {},
        std::chrono::seconds(seconds + 10));
}

std::string WineRig::wine_directory() const {
    std::string path = temp.directory();
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return "Z:" + path;
}

}  // namespace testing_support

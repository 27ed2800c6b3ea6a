// The Wine end-to-end rig: private copies of Ravelo.exe and Lumbra.exe, velmora-sim behind COM1.
#include "tests/support/posix/wine_rig.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <utility>

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
    if (!available()) return;
    // Each program beside its own settings file, in the test's folder.
    for (const char* exe : {"Ravelo.exe", "Lumbra.exe"}) {
        if (std::filesystem::exists(windows_bin_ + "/" + exe)) {
            std::filesystem::copy_file(windows_bin_ + "/" + exe, temp.file(exe));
        }
    }
}

WineRig::~WineRig() {
    release_held();
}

bool WineRig::hold_file(const std::string& name, const std::string& access,
                        const std::string& sharing) {
    holder_ = std::make_unique<BackgroundProcess>(
        std::vector<std::string>{kWineRun, windows_bin_ + "/file-hold.exe", wine_file(name), access,
                                 sharing, wine_file("release-held")});
    return holder_->read_line(30s).rfind("held", 0) == 0;
}

// A Windows process outlives the signal that stops its Wine launcher; it lets go by itself.
void WineRig::release_held() {
    if (!holder_) return;
    write_bytes(temp.file("release-held"), "");
    holder_->wait(10s);
    holder_.reset();
}

bool WineRig::start_sim(const std::string& role, std::vector<std::string> args, int port) {
    args.insert(args.begin(), {role, "--link", ports_ + "/ttyCOM" + std::to_string(port)});
    return !E2eRig::start_terminal(args).empty();
}

std::vector<std::string> WineRig::program(const std::string& exe, const std::string& tail) const {
    std::vector<std::string> argv{kWineRun, temp.file(exe)};
    if (!tail.empty()) argv.push_back(tail);
    return argv;
}

ProcessResult WineRig::answer_box(const std::string& caption, const std::string& button,
                                  int seconds) const {
    return run_process(
        {kWineRun, windows_bin_ + "/box-answer.exe", caption, button, std::to_string(seconds)}, {},
        std::chrono::seconds(seconds + 10));
}

std::vector<std::string> WineRig::windows_tool(const std::string& exe,
                                               const std::vector<std::string>& args) const {
    std::vector<std::string> argv{kWineRun, windows_bin_ + "/" + exe};
    argv.insert(argv.end(), args.begin(), args.end());
    return argv;
}

std::string WineRig::wine_directory() const {
    std::string path = temp.directory();
    std::replace(path.begin(), path.end(), '/', '\\');
    return "Z:" + path;
}

}  // namespace testing_support

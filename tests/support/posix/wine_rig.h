// Ravelo.exe and Lumbra.exe under Wine for end-to-end tests: their own folder, COM1 linked to
// velmora-sim, and message boxes answered from outside. Needs VELMORA_WINDOWS_BIN and
// scripts/wine-env's exports.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/posix/e2e_rig.h"

namespace testing_support {

// The native rig's folder and terminal, with the Windows programs in the folder instead.
class WineRig : public E2eRig {
  public:
    WineRig();
    ~WineRig();
    WineRig(const WineRig&) = delete;
    WineRig& operator=(const WineRig&) = delete;
    // False when the Windows build or Wine's set-up is missing (the test is then skipped).
    bool available() const { return !windows_bin_.empty() && !ports_.empty(); }

    // Starts velmora-sim's record source behind COM1 (or COM2..COM4); false when it did not
    // come up.
    bool start_terminal(std::vector<std::string> args, int port = 1) {
        return start_sim("source", std::move(args), port);
    }
    // The same with velmora-sim's lookup target, for Lumbra.exe.
    bool start_lookup_terminal(std::vector<std::string> args) {
        return start_sim("lookup", std::move(args));
    }
    // Ravelo.exe or Lumbra.exe (copied into the folder) with an optional command-line tail.
    std::vector<std::string> ravelo(const std::string& tail = "") const {
        return program("Ravelo.exe", tail);
    }
    std::vector<std::string> lumbra(const std::string& tail = "") const {
        return program("Lumbra.exe", tail);
    }
    // A program at `path` in the folder (say "sub/Ravelo.exe") with a command-line tail.
    std::vector<std::string> program(const std::string& path, const std::string& tail) const;
    // Presses `button` (yes, no, ok, cancel) in the box or dialog captioned `caption`; its
    // standard output is the box's text.
    ProcessResult answer_box(const std::string& caption, const std::string& button,
                             int seconds = 30) const;
    // The path that COM1 leads to, for a terminal the test starts itself (velmora-sim --link).
    std::string com1_link() const { return ports_ + "/ttyCOM1"; }
    // file-hold.exe keeps `name` of the folder open as another program would, with `access`
    // (r, rw) and `sharing` (none, r, rw), until release_held(); false when it could not.
    bool hold_file(const std::string& name, const std::string& access, const std::string& sharing);
    void release_held();
    // The folder as Wine's Z: drive names it, with its trailing backslash.
    std::string wine_directory() const;
    // A file of the folder as Wine's Z: drive names it.
    std::string wine_file(const std::string& name) const { return wine_directory() + name; }
    // A test tool of the Windows build (say "text-render.exe") with its arguments, under Wine.
    std::vector<std::string> windows_tool(const std::string& exe,
                                          const std::vector<std::string>& args) const;

  private:
    bool start_sim(const std::string& role, std::vector<std::string> args, int port = 1);

    std::string windows_bin_;
    std::string ports_;
    std::unique_ptr<BackgroundProcess> holder_;
};

// A test with the rig; without the Windows build or Wine's set-up (a host-only run) it is skipped.
class WineE2e : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!rig.available()) GTEST_SKIP() << "needs VELMORA_WINDOWS_BIN and scripts/wine-env";
    }
    WineRig rig;
};

}  // namespace testing_support

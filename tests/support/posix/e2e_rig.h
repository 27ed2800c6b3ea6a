// The programs run whole against velmora-sim: a private folder with copies of the programs, the
// simulated terminal on a pseudo-terminal, and each run's environment and output.
#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/posix/child_process.h"
#include "tests/support/temp_dir.h"
#include "tools/velmora-sim/records.h"

namespace testing_support {

// Where the build puts the programs, velmora-sim among them.
const std::string& bin_dir();

// Records each followed by `end`, as a reader stores them or a lookup file holds them.
std::string as_lines(const sim::Records& records, const std::string& end = "\r\n");

// Checks `condition` every 10 ms until it holds or `limit` has passed; its last answer.
bool eventually(const std::function<bool()>& condition, std::chrono::milliseconds limit);

// What another process writes to `path`, once the file exists (waiting at most `limit`).
std::string wait_for_file(const std::string& path,
                          std::chrono::milliseconds limit = std::chrono::seconds(5));

// `text` with each "@" replaced by `folder`: a case's arguments name the test's folder so.
std::string with_folder(std::string text, const std::string& folder);

using Env = std::map<std::string, std::string>;

class E2eRig {
  public:
    // Copies each of `programs` (say "ravelo") from the build into the folder, where its
    // settings and output stay private to the test.
    explicit E2eRig(const std::vector<std::string>& programs = {});
    E2eRig(const E2eRig&) = delete;
    E2eRig& operator=(const E2eRig&) = delete;

    // Starts velmora-sim with its role and options, stopping one started before; returns the
    // path of its pseudo-terminal (a test failure and "" when it did not come up).
    std::string start_terminal(std::vector<std::string> args);
    // COM1 on `device` and a settings folder inside the test's folder.
    Env env(const std::string& device) const {
        return {{"VELMORA_COM1", device}, {"XDG_CONFIG_HOME", temp.file("config")}};
    }
    // A program with its arguments, run in the folder with `extra` added to the test's
    // environment; argv[0] without a slash names a program copied into the folder. `shell` (say
    // "ulimit -f 1;" or "cat list |") runs before the program in the same shell.
    ProcessResult run(std::vector<std::string> argv, const Env& extra,
                      std::chrono::milliseconds limit = std::chrono::seconds(30),
                      const std::string& shell = "") const {
        argv = in_folder(std::move(argv));
        if (!shell.empty()) {
            argv.insert(argv.begin(), {"/bin/sh", "-c", shell + " exec \"$0\" \"$@\""});
        }
        return run_process(argv, extra, limit, {temp.directory(), false, ""});
    }
    // The same program as a service starts it: no terminal, its output read line by line.
    std::unique_ptr<BackgroundProcess> start(std::vector<std::string> argv,
                                             const Env& extra) const {
        return std::make_unique<BackgroundProcess>(in_folder(std::move(argv)), extra);
    }

    TempDir temp;
    std::unique_ptr<BackgroundProcess> terminal;

  private:
    std::vector<std::string> in_folder(std::vector<std::string> argv) const;
};

}  // namespace testing_support

// Programs and forked bodies run as child processes for the tests: environment, output, time
// limit, and a terminal of their own.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/posix/pty_pair.h"

namespace testing_support {

struct ProcessResult {
    int exit_status = -1;  // -1 when it did not end in time (it is killed then)
    std::string out;
    std::string err;
    std::chrono::milliseconds took{0};  // from its start to its end, in real time
};

// Where and as whom a child runs.
struct ChildSetup {
    std::string directory;      // empty: the test's own
    bool without_root = false;  // run as "nobody" when the test runs as root
    std::string terminal;       // its controlling terminal, input and output; none when empty
};

// In a forked child: adds the environment variables and runs argv (argv[0] searched on PATH when
// it holds no slash); ends the child with 127 when it cannot.
[[noreturn]] void exec_with(const std::vector<std::string>& argv,
                            const std::map<std::string, std::string>& env);

// Runs argv with extra environment variables and no terminal on standard input; waits at most
// `limit`. Standard output and error are collected in full.
ProcessResult run_process(const std::vector<std::string>& argv,
                          const std::map<std::string, std::string>& env,
                          std::chrono::milliseconds limit, const ChildSetup& setup = {});

// Runs `body` in a forked child in a session of its own, its controlling terminal the
// pseudo-terminal slave `tty` (none when empty; 90 when it cannot be opened). An alarm ends a
// child that runs past 10 s, so a hang fails the test instead of stopping it.
pid_t start_child(const std::function<int()>& body, const std::string& tty = "");
// Waits for a child that start_child made: what `body` returned, or -1 when a signal ended it.
int child_status(pid_t pid);

// Processor seconds used so far: by this process (RUSAGE_SELF) or its ended children
// (RUSAGE_CHILDREN).
double processor_seconds(int who);

// Sets an environment variable of the test's own process until the guard goes.
class ScopedEnv {
  public:
    ScopedEnv(std::string name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    std::string name_;
    std::optional<std::string> saved_;
};

// A long-running child (the simulated terminal): started with its output in a pipe, stopped
// with SIGTERM when the object goes.
class BackgroundProcess {
  public:
    BackgroundProcess(const std::vector<std::string>& argv,
                      const std::map<std::string, std::string>& env = {});
    ~BackgroundProcess();
    BackgroundProcess(const BackgroundProcess&) = delete;
    BackgroundProcess& operator=(const BackgroundProcess&) = delete;

    // The next line of its standard output, waiting at most `limit`; empty on time-out.
    std::string read_line(std::chrono::milliseconds limit);
    // Waits for it to end by itself; returns its exit status, or -1 on time-out.
    int wait(std::chrono::milliseconds limit);
    void send_signal(int number);
    void stop();

  private:
    pid_t pid_ = -1;
    int out_fd_ = -1;
    std::string pending_;
};

// A program started as a user starts it: a pseudo-terminal is its controlling terminal, its
// input and its output, and the test types and reads on the other side.
class OnTerminal {
  public:
    // argv[0] is the program's path; env is added to the test's environment.
    OnTerminal(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
               const std::string& directory);
    ~OnTerminal();  // kills a program still running
    OnTerminal(const OnTerminal&) = delete;
    OnTerminal& operator=(const OnTerminal&) = delete;

    // Waits until the program has written `text` after what an earlier wait found.
    bool wait_for(const std::string& text,
                  std::chrono::milliseconds limit = std::chrono::milliseconds(5000));
    // A line of input, ended by Enter.
    void type(const std::string& line);
    void send_signal(int number);
    // The exit status, reading what it writes meanwhile; -1 when it has not ended in time or
    // was ended by a signal it did not handle.
    int exit_status(std::chrono::milliseconds limit = std::chrono::milliseconds(10000));

    // Everything the program wrote to the terminal so far.
    std::string shown;

  private:
    void read_some();
    test_support::PtyPair pty_;
    pid_t pid_ = -1;
    std::size_t seen_ = 0;
};

}  // namespace testing_support

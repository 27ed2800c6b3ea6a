// A program started as a user starts it: a pseudo-terminal is its controlling terminal, its
// input and its output, and the test types and reads on the other side.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "tests/support/posix/pty_pair.h"

namespace testing_support {

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

// Runs a program on a pseudo-terminal of its own and collects what it shows there.
#include "tests/support/posix/on_terminal.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "tests/support/posix/child_process.h"

namespace testing_support {

using Clock = std::chrono::steady_clock;

OnTerminal::OnTerminal(const std::vector<std::string>& argv,
                       const std::map<std::string, std::string>& env,
                       const std::string& directory) {
    pty_.set_slave_cooked();
    pid_ = fork();
    if (pid_ != 0) return;
    setsid();
    if (chdir(directory.c_str()) != 0) _exit(91);
    const int tty = open(pty_.slave_path().c_str(), O_RDWR);  // the controlling terminal
    if (tty < 0) _exit(90);
    for (int fd = 0; fd < 3; ++fd) dup2(tty, fd);
    exec_with(argv, env);
}

OnTerminal::~OnTerminal() {
    if (pid_ > 0) kill(pid_, SIGKILL);
    if (pid_ > 0) waitpid(pid_, nullptr, 0);
}

bool OnTerminal::wait_for(const std::string& text, std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    while (Clock::now() < deadline) {
        const std::size_t at = shown.find(text, seen_);
        if (at != std::string::npos) {
            seen_ = at + text.size();
            return true;
        }
        read_some();
    }
    return false;
}

void OnTerminal::type(const std::string& line) {
    std::vector<std::uint8_t> bytes(line.begin(), line.end());
    bytes.push_back('\n');
    pty_.write_master(bytes);
}

void OnTerminal::send_signal(int number) {
    if (pid_ > 0) kill(pid_, number);
}

int OnTerminal::exit_status(std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    int status = 0;
    while (Clock::now() < deadline) {
        read_some();
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            read_some();
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
    }
    return -1;
}

void OnTerminal::read_some() {
    const auto bytes = pty_.read_master(4096, 20);
    shown.append(bytes.begin(), bytes.end());
}

}  // namespace testing_support

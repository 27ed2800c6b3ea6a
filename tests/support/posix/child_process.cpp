// Child processes for end-to-end tests, with time limits so a hung program fails the test.
#include "tests/support/posix/child_process.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>

namespace testing_support {

namespace {

using Clock = std::chrono::steady_clock;

constexpr uid_t kNobody = 65534;

pid_t spawn(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
            int out_fd, int err_fd, const ChildSetup& setup = {}) {
    const pid_t pid = fork();
    if (pid != 0) return pid;
    if (!setup.directory.empty() && chdir(setup.directory.c_str()) != 0) _exit(126);
    // Root may open every device; a permission test needs a user who may not.
    if (setup.without_root && geteuid() == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(126);
    }
    setsid();  // no controlling terminal but the one given: questions must answer themselves
    if (!setup.terminal.empty()) {
        out_fd = err_fd = open(setup.terminal.c_str(), O_RDWR);  // the controlling terminal
        if (out_fd < 0) _exit(90);
    }
    dup2(setup.terminal.empty() ? open("/dev/null", O_RDONLY) : out_fd, 0);
    dup2(out_fd, 1);
    dup2(err_fd, 2);
    exec_with(argv, env);
}

void drain(int fd, std::string& into) {
    char buffer[4096];
    ssize_t n = 0;
    while ((n = read(fd, buffer, sizeof buffer)) > 0) into.append(buffer, static_cast<size_t>(n));
}

int exit_code(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    return 128 + WTERMSIG(status);
}

}  // namespace

void exec_with(const std::vector<std::string>& argv,
               const std::map<std::string, std::string>& env) {
    for (const auto& [name, value] : env) setenv(name.c_str(), value.c_str(), 1);
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
}

ProcessResult run_process(const std::vector<std::string>& argv,
                          const std::map<std::string, std::string>& env,
                          std::chrono::milliseconds limit, const ChildSetup& setup) {
    const auto started = Clock::now();
    int out[2];
    int err[2];
    ProcessResult result;
    if (pipe2(out, O_CLOEXEC) != 0) return result;
    if (pipe2(err, O_CLOEXEC) != 0) {
        close(out[0]);
        close(out[1]);
        return result;
    }
    const pid_t pid = spawn(argv, env, out[1], err[1], setup);
    close(out[1]);
    close(err[1]);
    fcntl(out[0], F_SETFL, O_NONBLOCK);
    fcntl(err[0], F_SETFL, O_NONBLOCK);
    const auto deadline = Clock::now() + limit;
    int status = 0;
    bool ended = false;
    while (!ended && Clock::now() < deadline) {
        pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
        poll(fds, 2, 20);
        drain(out[0], result.out);
        drain(err[0], result.err);
        ended = waitpid(pid, &status, WNOHANG) == pid;
    }
    if (!ended) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    } else {
        result.exit_status = exit_code(status);
    }
    drain(out[0], result.out);
    drain(err[0], result.err);
    close(out[0]);
    close(err[0]);
    result.took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started);
    return result;
}

pid_t start_child(const std::function<int()>& body, const std::string& tty) {
    const pid_t pid = fork();
    if (pid != 0) return pid;
    setsid();
    alarm(10);
    if (!tty.empty() && open(tty.c_str(), O_RDWR) < 0) _exit(90);  // the controlling terminal
    _exit(body());
}

int child_status(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

double processor_seconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

ScopedEnv::ScopedEnv(std::string name, const std::string& value) : name_(std::move(name)) {
    if (const char* old = std::getenv(name_.c_str())) saved_ = old;
    setenv(name_.c_str(), value.c_str(), 1);
}

ScopedEnv::~ScopedEnv() {
    if (saved_) {
        setenv(name_.c_str(), saved_->c_str(), 1);
    } else {
        unsetenv(name_.c_str());
    }
}

BackgroundProcess::BackgroundProcess(const std::vector<std::string>& argv,
                                     const std::map<std::string, std::string>& env) {
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0) return;
    const int null_err = open("/dev/null", O_WRONLY | O_CLOEXEC);
    pid_ = spawn(argv, env, out[1], null_err);
    close(out[1]);
    close(null_err);
    out_fd_ = out[0];
}

BackgroundProcess::~BackgroundProcess() {
    stop();
    if (out_fd_ >= 0) close(out_fd_);
}

std::string BackgroundProcess::read_line(std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    while (pending_.find('\n') == std::string::npos && Clock::now() < deadline) {
        pollfd fd{out_fd_, POLLIN, 0};
        if (poll(&fd, 1, 20) > 0) {
            char buffer[256];
            const ssize_t n = read(out_fd_, buffer, sizeof buffer);
            if (n <= 0) break;
            pending_.append(buffer, static_cast<size_t>(n));
        }
    }
    const auto end = pending_.find('\n');
    if (end == std::string::npos) return {};
    std::string line = pending_.substr(0, end);
    pending_.erase(0, end + 1);
    return line;
}

int BackgroundProcess::wait(std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    int status = 0;
    while (pid_ > 0 && Clock::now() < deadline) {
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return exit_code(status);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return -1;
}

void BackgroundProcess::send_signal(int number) {
    if (pid_ > 0) kill(pid_, number);
}

void BackgroundProcess::stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    if (wait(std::chrono::milliseconds(2000)) < 0 && pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    pid_ = -1;
}

OnTerminal::OnTerminal(const std::vector<std::string>& argv,
                       const std::map<std::string, std::string>& env,
                       const std::string& directory) {
    pty_.set_slave_cooked();
    pid_ = spawn(argv, env, -1, -1, {directory, false, pty_.slave_path()});
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

// Processor time from /proc: schedstat counts nanoseconds, stat only clock ticks.
#include "tests/bench/program_run.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

#include "tests/support/posix/child_process.h"

namespace bench {

namespace {

namespace fs = std::filesystem;

std::vector<pid_t> all_pids() {
    std::vector<pid_t> pids;
    std::error_code gone;
    for (const fs::directory_entry& entry : fs::directory_iterator("/proc", gone)) {
        const pid_t pid = static_cast<pid_t>(std::atoi(entry.path().filename().c_str()));
        if (pid > 0) pids.push_back(pid);
    }
    return pids;
}

// Where a link of /proc leads; empty when the process has gone or it may not be read.
std::string link_target(const fs::path& link) {
    std::error_code gone;
    return fs::read_symlink(link, gone).string();
}

pid_t parent_of(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    const std::size_t close = line.rfind(')');
    if (close == std::string::npos) return -1;
    std::istringstream rest(line.substr(close + 2));
    char state = 0;
    pid_t parent = -1;
    rest >> state >> parent;
    return parent;
}

double cpu_of(pid_t pid) {
    std::ifstream schedstat("/proc/" + std::to_string(pid) + "/schedstat");
    double ns = 0;
    return schedstat >> ns ? ns * 1e-9 : 0.0;
}

bool holds_open(pid_t pid, const std::string& device) {
    std::error_code gone;
    const fs::path fds = "/proc/" + std::to_string(pid) + "/fd";
    for (const fs::directory_entry& entry : fs::directory_iterator(fds, gone)) {
        if (link_target(entry.path()) == device) return true;
    }
    return false;
}

// The Wine server of a prefix works in a directory named after the prefix's device and inode.
pid_t wine_server_of(const std::string& prefix) {
    struct stat info {};
    if (prefix.empty() || ::stat(prefix.c_str(), &info) != 0) return -1;
    char suffix[64];
    std::snprintf(suffix, sizeof suffix, "/server-%llx-%llx",
                  static_cast<unsigned long long>(info.st_dev),
                  static_cast<unsigned long long>(info.st_ino));
    for (pid_t pid : all_pids()) {
        const std::string path = link_target("/proc/" + std::to_string(pid) + "/cwd");
        if (path.size() >= std::strlen(suffix) &&
            path.compare(path.size() - std::strlen(suffix), std::string::npos, suffix) == 0) {
            std::ifstream comm("/proc/" + std::to_string(pid) + "/comm");
            std::string name;
            if (comm >> name && name.rfind("wineserver", 0) == 0) return pid;
        }
    }
    return -1;
}

}  // namespace

ProgramRun::ProgramRun(const std::vector<std::string>& argv,
                       const std::map<std::string, std::string>& env, const std::string& log_path,
                       const std::string& wine_prefix)
    : server_(wine_server_of(wine_prefix)) {
    pid_ = ::fork();
    if (pid_ != 0) return;
    const int in = ::open("/dev/null", O_RDONLY);
    const int out = ::open(log_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(in, 0);
    ::dup2(out, 1);
    ::dup2(out, 2);
    ::setsid();  // no controlling terminal: the counter line is not drawn
    testing_support::exec_with(argv, env);
}

ProgramRun::~ProgramRun() {
    if (pid_ > 0) wait(1);
}

double ProgramRun::cpu_seconds(const std::string& device) {
    seen_.insert(pid_);
    const std::vector<pid_t> pids = all_pids();
    for (pid_t pid : pids) {
        if (pid != ::getpid() && holds_open(pid, device)) seen_.insert(pid);
    }
    for (bool grew = true; grew;) {
        grew = false;
        for (pid_t pid : pids) {
            if (!seen_.count(pid) && seen_.count(parent_of(pid))) grew = seen_.insert(pid).second;
        }
    }
    double total = server_ > 0 ? cpu_of(server_) : 0.0;
    for (pid_t pid : seen_) total += cpu_of(pid);
    return total;
}

long ProgramRun::peak_kb() const {
    long peak = 0;
    for (pid_t pid : seen_) {
        std::ifstream status("/proc/" + std::to_string(pid) + "/status");
        for (std::string line; std::getline(status, line);) {
            if (line.rfind("VmHWM:", 0) == 0) peak = std::max(peak, std::atol(line.c_str() + 6));
        }
    }
    return peak;
}

int ProgramRun::wait(int limit_s) {
    if (pid_ <= 0) return -1;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(limit_s);
    int status = 0;
    while (::waitpid(pid_, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > end) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, &status, 0);
            pid_ = -1;
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace bench

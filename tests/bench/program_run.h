// A program under measurement: started as a child, its processor time (with its children's and,
// under Wine, the Wine server's) read while it runs, and waited for.
#pragma once

#include <sys/types.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace bench {

class ProgramRun {
  public:
    // Output goes to log_path. wine_prefix: also count that prefix's Wine server.
    ProgramRun(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
               const std::string& log_path, const std::string& wine_prefix = "");
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    bool started() const { return pid_ > 0; }
    // Processor seconds used so far by the program, its descendants, any process that has
    // `device` open (Wine starts the Windows program apart from its loader) and the Wine server.
    double cpu_seconds(const std::string& device);
    // The largest peak resident size (VmHWM) in kB among the processes cpu_seconds found.
    long peak_kb() const;
    // Waits up to limit_s for the end; stops the program when it does not end in time.
    int wait(int limit_s);

  private:
    pid_t pid_ = -1;
    pid_t server_ = -1;
    std::set<pid_t> seen_;  // counted once found, so that every sample counts the same ones
};

}  // namespace bench

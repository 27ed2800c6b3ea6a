// The simulated terminal behind a pseudo-terminal, in real time, on a thread of its own.
#pragma once

#include <atomic>
#include <thread>

#include "tests/support/posix/pty_pair.h"
#include "tools/velmora-sim/record_source.h"

namespace test_support {

// Serves `config` on the master side of `pty` from construction until stop(); the program
// opens the slave. The source is only read after stop().
class RecordSourcePump {
  public:
    RecordSourcePump(PtyPair& pty, sim::SourceConfig config);
    ~RecordSourcePump();
    RecordSourcePump(const RecordSourcePump&) = delete;
    RecordSourcePump& operator=(const RecordSourcePump&) = delete;

    void stop();
    sim::RecordSource& source() { return source_; }

  private:
    void run();
    PtyPair& pty_;
    sim::RecordSource source_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

}  // namespace test_support

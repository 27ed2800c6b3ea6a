// A pseudo-terminal pair for tests: the program opens the slave by path, the test is the master
// (or the simulated terminal it serves there).
#pragma once

#include <termios.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "tools/velmora-sim/record_source.h"

namespace test_support {

// Two terminal settings alike as a program reading them back sees them: modes, speeds and
// control characters.
bool same_settings(const termios& a, const termios& b);

class PtyPair {
  public:
    // Opens the pair with the slave in raw mode; the test keeps a slave descriptor open so that
    // the line stays up while the program opens and closes its own.
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool ok() const { return master_ >= 0 && slave_ >= 0; }
    int master() const { return master_; }
    int slave() const { return slave_; }
    const std::string& slave_path() const { return slave_path_; }

    // The settings a fresh terminal has: echo, line editing, CR to LF, XON/XOFF, LF to CRLF.
    void set_slave_cooked();

    bool write_master(const std::vector<std::uint8_t>& bytes);
    // Collects up to n bytes from the master, waiting at most limit_ms in all.
    std::vector<std::uint8_t> read_master(std::size_t n, int limit_ms);
    // Hangs the line up, as a terminal unplugged.
    void close_master();

  private:
    int master_ = -1;
    int slave_ = -1;
    std::string slave_path_;
};

// The simulated terminal behind a pseudo-terminal, in real time, on a thread of its own.
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

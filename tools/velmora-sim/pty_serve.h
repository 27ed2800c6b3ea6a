// Runs a terminal peer in real time on a served line.
#pragma once

#include <functional>

#include "tools/simulated-line/simulated_line.h"
#include "tools/velmora-sim/pty_line.h"

namespace sim {

// Stops on SIGTERM or SIGINT, or once finished() holds and the peer has nothing left to send
// and the line has drained. Returns false when the line failed.
bool serve(const ServedLine& line, simline::LinePeer& peer, const std::function<bool()>& finished);

// SIGTERM, SIGINT and SIGHUP end serve() instead of the process, so links get removed.
void catch_stop_signals();

}  // namespace sim

// Opening a program's COM port by index and configuring it, the same way in both programs.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/serial.h"

namespace common {

struct LineRequest {
    int port_index = 0;
    int port_count = 0;  // the program's list: COM1..COM<port_count>
    int baud_index = 0;
    std::uint32_t in_buffer = 0;
    std::uint32_t out_buffer = 0;
};

enum class LineOpen { opened, cannot_open, refused };

// How the open went, and for a port that could not be opened, why, where the platform can say
// more than the port's name (the device and the system's reason on Linux).
struct LineOpening {
    LineOpen outcome = LineOpen::cannot_open;
    std::string reason;
};

// Opens the port (traced when the user asked for a trace) with its buffers, speed and 8N1 with
// no flow control, and discards what the port had received before. *line holds the port only
// when it was opened and configured.
LineOpening open_line(platform::SerialPorts& ports, platform::Clock& clock,
                      const LineRequest& request, std::unique_ptr<platform::SerialLine>* line);

// A port message followed, on its own lines, by the reason where there is one.
std::string with_reason(const std::string& message, const std::string& reason);

// What both programs say when the port fails under them (an adapter pulled out): "Port COM1
// přestal pracovat!" and, on its own lines, the device and the reason where the platform has them.
std::string port_failure_message(int port_index, const platform::SerialLine& line);

}  // namespace common

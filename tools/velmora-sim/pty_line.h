// The line the simulator serves: a pseudo-terminal it creates, or a serial device.
#pragma once

#include <cstdint>
#include <string>

namespace sim {

struct ServedLine {
    int fd = -1;        // where the terminal reads and writes
    int slave_fd = -1;  // pseudo-terminal only: held open so the line never hangs up
    std::string path;   // what a program opens
    std::string link;   // symbolic link made to path, removed on close
};

// Master and slave opened, the slave in raw mode. False with a message.
bool open_pseudo_terminal(ServedLine* line, std::string* error);
// Raw mode at the given speed, 8N1, no flow control.
bool open_device(const std::string& path, std::uint32_t baud, ServedLine* line, std::string* error);
// Replaces whatever is at link_path with a symbolic link to the line.
bool make_link(ServedLine* line, const std::string& link_path, std::string* error);
// Waits (up to limit_ms) until what was written has been taken by the other side.
void drain(const ServedLine& line, std::uint32_t limit_ms);
void close_line(ServedLine* line);

}  // namespace sim

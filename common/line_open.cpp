// One port opening for both programs: an index outside the lists names no port and no speed.
#include "common/line_open.h"

#include <string>

#include "common/port_labels.h"
#include "common/traced_line.h"

namespace common {

namespace {

bool configure_line(platform::SerialLine& line, const LineRequest& request) {
    // An index outside the list is a setting the port cannot take, not a reason to read past it.
    if (request.baud_index < 0 || request.baud_index >= kBaudRateCount) return false;
    line.set_queues(request.in_queue, request.out_queue);
    std::string refused;
    return line.configure(kBaudRates[request.baud_index], &refused);
}

}  // namespace

LineOpen open_line(platform::SerialPorts& ports, platform::Clock& clock, const LineRequest& request,
                   std::unique_ptr<platform::SerialLine>* line) {
    line->reset();
    if (request.port_index >= 0 && request.port_index < request.port_count) {
        platform::OpenError error = platform::OpenError::none;
        *line = trace_if_asked(ports.open(port_name(request.port_index), &error), clock);
    }
    if (!*line) return LineOpen::cannot_open;
    if (!configure_line(**line, request)) {
        line->reset();
        return LineOpen::refused;
    }
    // Bytes left from before, such as a late "ACK" to a load that was stopped, would be taken
    // for the answer to this run's first message.
    (*line)->discard_input();
    return LineOpen::opened;
}

std::string port_failure_message(int port_index, const platform::SerialLine& line) {
    const std::string detail = line.failure_detail();
    const std::string message = "Port " + port_name(port_index) + " přestal pracovat!";
    return detail.empty() ? message : message + "\n" + detail;
}

}  // namespace common

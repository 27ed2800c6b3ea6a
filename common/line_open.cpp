// One port opening for both programs: an index outside the lists names no port and no speed.
#include "common/line_open.h"

#include <string>

#include "common/port_labels.h"
#include "common/traced_line.h"

namespace common {

namespace {

// An index outside the list is a speed the port cannot take, not a reason to read past it.
std::uint32_t listed_baud(int baud_index) {
    return baud_index >= 0 && baud_index < kBaudRateCount ? kBaudRates[baud_index] : 0;
}

LineOpen outcome_of(platform::OpenError error) {
    switch (error) {
        case platform::OpenError::none:
            return LineOpen::opened;
        case platform::OpenError::refused:
            return LineOpen::refused;
        case platform::OpenError::cannot_open:
        case platform::OpenError::busy:
            break;
    }
    return LineOpen::cannot_open;
}

}  // namespace

LineOpening open_line(platform::SerialPorts& ports, platform::Clock& clock,
                      const LineRequest& request, std::unique_ptr<platform::SerialLine>* line) {
    line->reset();
    if (request.port_index < 0 || request.port_index >= request.port_count) return {};
    const platform::LineSettings settings{listed_baud(request.baud_index), request.in_buffer,
                                          request.out_buffer, platform::WriteLimit{}};
    platform::OpenedLine opened =
        ports.open(static_cast<unsigned>(request.port_index) + 1, settings);
    const LineOpen outcome = outcome_of(opened.error);
    if (outcome != LineOpen::opened)
        return {outcome, outcome == LineOpen::refused ? "" : opened.reason};
    *line = trace_if_asked(std::move(opened.line), clock);
    // Bytes left from before, such as a late "ACK" to a load that was stopped, would be taken
    // for the answer to this run's first message.
    (*line)->discard_input();
    return {LineOpen::opened, {}};
}

std::string with_reason(const std::string& message, const std::string& reason) {
    return reason.empty() ? message : message + "\n" + reason;
}

std::string port_failure_message(int port_index, const platform::SerialLine& line) {
    return with_reason("Port " + port_name(port_index) + " přestal pracovat!",
                       line.failure_detail());
}

}  // namespace common

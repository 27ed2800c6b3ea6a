// The reader's port: opened exclusively, queues of 256 bytes, speed by index, 8N1, no flow control.
#include "reader/serial_port.h"

#include "common/port_labels.h"
#include "common/traced_line.h"
#include "reader/reader_messages.h"

namespace ravelo {

namespace {

bool configure_line(platform::SerialLine& line, int baud_index) {
    // An index outside the list is a setting the port cannot take, not a reason to read past it.
    if (baud_index < 0 || baud_index >= common::kBaudRateCount) return false;
    line.set_queues(kReaderQueueBytes, kReaderQueueBytes);
    std::string refused;
    return line.configure(common::kBaudRates[baud_index], &refused);
}

}  // namespace

int open_serial_port(Reader& reader) {
    reader.port.reset();
    const int index = reader.settings.port_index;
    if (index >= 0 && index < kPortCount) {
        platform::OpenError error = platform::OpenError::none;
        reader.port = common::trace_if_asked(reader.ports.open(common::port_name(index), &error),
                                             reader.clock);
    }
    if (!reader.port) {
        if (reader.settings.show_errors) {
            reader.boxes.show_message(kErrorCaption,
                                      common::with_detail(kCannotOpenPort, reader.ports));
        }
        return 0;
    }
    if (!configure_line(*reader.port, reader.settings.baud_index)) {
        reader.port.reset();
        return 0;
    }
    return 1;
}

}  // namespace ravelo

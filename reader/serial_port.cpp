// The reader's port: opened exclusively, queues of 256 bytes, speed by index, 8N1, no flow control.
#include "reader/serial_port.h"

#include "common/line_open.h"
#include "common/port_labels.h"
#include "reader/reader_messages.h"

namespace ravelo {

int open_serial_port(Reader& reader) {
    const common::LineRequest request{reader.settings.port_index, kPortCount,
                                      reader.settings.baud_index, kReaderQueueBytes,
                                      kReaderQueueBytes};
    const common::LineOpen opened =
        common::open_line(reader.ports, reader.clock, request, &reader.port);
    // A refused line setting is not reported.
    if (opened == common::LineOpen::cannot_open && reader.settings.show_errors) {
        reader.boxes.show_message(kErrorCaption,
                                  common::with_detail(kCannotOpenPort, reader.ports));
    }
    return opened == common::LineOpen::opened ? 1 : 0;
}

}  // namespace ravelo

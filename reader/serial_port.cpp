// The reader's port: opened exclusively, queues of 256 bytes, speed by index, 8N1, no flow control.
#include "reader/serial_port.h"

#include "reader/reader_messages.h"

namespace ravelo {

common::LineOpen open_serial_port(Reader& reader) {
    const common::LineRequest request{reader.settings.port_index, kPortCount,
                                      reader.settings.baud_index, kReaderQueueBytes,
                                      kReaderQueueBytes};
    const common::LineOpening opening =
        common::open_line(reader.ports, reader.clock, request, &reader.port);
    // A refused line setting is not reported.
    if (opening.outcome == common::LineOpen::cannot_open && reader.settings.show_errors) {
        reader.boxes.show_message(kErrorCaption,
                                  common::with_reason(kCannotOpenPort, opening.reason));
    }
    return opening.outcome;
}

}  // namespace ravelo

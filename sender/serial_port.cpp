// The sender's port: exclusive, queues of 256 in and 1200 out, speed by index, 8N1, no flow
// control, DTR and RTS off.
#include "sender/serial_port.h"

#include "common/line_open.h"
#include "common/port_labels.h"
#include "sender/sender_messages.h"

namespace lumbra {

int open_serial_port(Sender& sender) {
    const common::LineRequest request{sender.settings.port_index, common::kSenderPortCount,
                                      sender.settings.baud_index, kInQueueBytes, kOutQueueBytes};
    switch (common::open_line(sender.ports, sender.clock, request, &sender.port)) {
        case common::LineOpen::cannot_open:
            sender.boxes.show_message(kCaption, common::with_detail(kCannotOpenPort, sender.ports),
                                      common::BoxIcon::exclamation);
            return -1;
        case common::LineOpen::refused:
            sender.boxes.show_message(kCaption, kCannotSetLine, common::BoxIcon::exclamation);
            return 0;
        case common::LineOpen::opened:
            break;
    }
    return 1;
}

}  // namespace lumbra

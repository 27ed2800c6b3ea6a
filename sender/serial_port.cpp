// The sender's port: exclusive, queues of 256 in and 1200 out, speed by index, 8N1, no flow
// control, DTR and RTS off.
#include "sender/serial_port.h"

#include "common/port_labels.h"
#include "sender/sender_messages.h"

namespace lumbra {

common::LineOpen open_serial_port(Sender& sender) {
    const common::LineRequest request{sender.settings.port_index, common::kSenderPortCount,
                                      sender.settings.baud_index, kInQueueBytes, kOutQueueBytes};
    const common::LineOpening opening =
        common::open_line(sender.ports, sender.clock, request, &sender.port);
    switch (opening.outcome) {
        case common::LineOpen::cannot_open:
            sender.boxes.show_message(kCaption,
                                      common::with_reason(kCannotOpenPort, opening.reason),
                                      common::BoxIcon::exclamation);
            break;
        case common::LineOpen::refused:
            sender.boxes.show_message(kCaption, kCannotSetLine, common::BoxIcon::exclamation);
            break;
        case common::LineOpen::opened:
            break;
    }
    return opening.outcome;
}

}  // namespace lumbra

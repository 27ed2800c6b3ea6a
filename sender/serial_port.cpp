// The sender's port: exclusive, queues of 256 in and 1200 out, speed by index, 8N1, no flow
// control, DTR and RTS off.
#include "sender/serial_port.h"

#include <string>

#include "common/port_labels.h"
#include "common/traced_line.h"
#include "sender/sender_messages.h"

namespace lumbra {

namespace {

bool configure_line(platform::SerialLine& line, int baud_index) {
    // An index outside the list is a setting the port cannot take, not a reason to read past it.
    if (baud_index < 0 || baud_index >= common::kBaudRateCount) return false;
    line.set_queues(kInQueueBytes, kOutQueueBytes);
    std::string refused;
    return line.configure(common::kBaudRates[baud_index], &refused);
}

}  // namespace

int open_serial_port(Sender& sender) {
    sender.port.reset();
    const int index = sender.settings.port_index;
    if (index >= 0 && index < common::kSenderPortCount) {
        platform::OpenError error = platform::OpenError::none;
        sender.port = common::trace_if_asked(sender.ports.open(common::port_name(index), &error),
                                             sender.clock);
    }
    if (!sender.port) {
        sender.boxes.show_message(kCaption, common::with_detail(kCannotOpenPort, sender.ports),
                                  common::BoxIcon::exclamation);
        return -1;
    }
    if (!configure_line(*sender.port, sender.settings.baud_index)) {
        sender.boxes.show_message(kCaption, kCannotSetLine, common::BoxIcon::exclamation);
        sender.port.reset();
        return 0;
    }
    return 1;
}

}  // namespace lumbra

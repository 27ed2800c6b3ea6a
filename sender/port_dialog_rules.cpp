// The port dialog's rules: the lists from the shared port and speed labels, OK's take-over.
#include "sender/port_dialog_rules.h"

#include "common/port_labels.h"

namespace lumbra {

namespace {

int selection_or_none(int index, std::size_t count) {
    return index >= 0 && static_cast<std::size_t>(index) < count ? index : -1;
}

void take_selection(int selected, int count, int& setting) {
    if (selected >= 0 && selected < count) setting = selected;
}

}  // namespace

PortDialogView open_port_dialog(const SenderSettings& settings) {
    PortDialogView view;
    view.ports = common::port_labels(common::kSenderPortCount);
    view.bauds = common::baud_labels();
    view.port = selection_or_none(settings.port_index, view.ports.size());
    view.baud = selection_or_none(settings.baud_index, view.bauds.size());
    return view;
}

void accept_port_dialog(SenderSettings& settings, int port_selected, int baud_selected) {
    take_selection(port_selected, common::kSenderPortCount, settings.port_index);
    take_selection(baud_selected, common::kBaudRateCount, settings.baud_index);
}

}  // namespace lumbra

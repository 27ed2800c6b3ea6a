// The port dialog's rules as plain functions: what its two lists hold and show on opening, and
// what OK takes over. Zrušit takes nothing over, so it has no rule of its own.
#pragma once

#include <string>
#include <vector>

#include "sender/sender_settings.h"

namespace lumbra {

// What the dialog's lists show; the toolkit code moves these to and from the real controls.
struct PortDialogView {
    std::vector<std::string> ports;  // list 101: "COM1".."COM6"
    std::vector<std::string> bauds;  // list 102: "115200".."9600"
    int port = -1;                   // the selected entry; -1 shows none
    int baud = -1;
};

// The lists in order, with port_index and baud_index selected (none when out of range).
PortDialogView open_port_dialog(const SenderSettings& settings);

// OK, given the lists' selected entries (-1 for none): they become port_index and baud_index;
// a list without a selection, or with one beyond its entries, leaves its setting as it was.
void accept_port_dialog(SenderSettings& settings, int port_selected, int baud_selected);

}  // namespace lumbra

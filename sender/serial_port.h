// Opening and configuring the sender's COM port from its settings.
#pragma once

#include <cstdint>

#include "sender/sender.h"

namespace lumbra {

constexpr std::uint32_t kInQueueBytes = 256;
constexpr std::uint32_t kOutQueueBytes = 1200;

// 1 with sender.port open and configured; -1 when it cannot be opened ("Nemohu otevřít COM
// port!"); 0 when the line settings are refused ("Nelze nastavit komunikační parametry!"),
// with the port closed again.
int open_serial_port(Sender& sender);

}  // namespace lumbra

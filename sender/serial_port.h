// Opening and configuring the sender's COM port from its settings.
#pragma once

#include <cstdint>

#include "common/line_open.h"
#include "sender/sender.h"

namespace lumbra {

constexpr std::uint32_t kInQueueBytes = 256;
constexpr std::uint32_t kOutQueueBytes = 1200;

// sender.port is open and configured only for `opened`. "Nemohu otevřít COM port!" when it
// cannot be opened; "Nelze nastavit komunikační parametry!" when the line settings are refused,
// with the port closed again.
common::LineOpen open_serial_port(Sender& sender);

}  // namespace lumbra

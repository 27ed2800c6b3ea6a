// Opening and configuring the reader's COM port from its settings.
#pragma once

#include <string>

#include "common/line_open.h"
#include "reader/reader.h"

namespace ravelo {

constexpr std::uint32_t kReaderQueueBytes = 256;

// reader.port is open and configured only for `opened`. "Nepodařilo se otevřít COM port" when
// it cannot be opened and show_errors is on; a refused line setting is not reported.
common::LineOpen open_serial_port(Reader& reader);

}  // namespace ravelo

// Opening and configuring the reader's COM port from its settings.
#pragma once

#include <string>

#include "reader/reader.h"

namespace ravelo {

constexpr std::uint32_t kReaderQueueBytes = 256;

// 1 with reader.port open and configured; 0 with it closed ("Nepodařilo se otevřít COM port"
// when it cannot be opened and show_errors is on; a refused line setting is not reported).
int open_serial_port(Reader& reader);

}  // namespace ravelo

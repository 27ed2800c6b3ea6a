// The serial line with a support trace: every byte sent and received is appended to a file in
// the wire trace format, when the user sets VELMORA_TRACE to the file's path.
#pragma once

#include <memory>

#include "platform/clock.h"
#include "platform/serial.h"

namespace common {

inline const char* const kTraceVariable = "VELMORA_TRACE";

// `line` itself when VELMORA_TRACE is unset or its file cannot be opened (said once on standard
// error), else `line` wrapped so that it appends its traffic there. Times count from the first
// traced line of the process.
std::unique_ptr<platform::SerialLine> trace_if_asked(std::unique_ptr<platform::SerialLine> line,
                                                     platform::Clock& clock);

}  // namespace common

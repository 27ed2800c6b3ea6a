// The online polling window on the terminal, for the POSIX front end.
#pragma once

#include "reader/reader.h"

namespace ravelo {

// Polls with run_transfer once per interval until Esc, q or Ctrl+C, or a stop signal (SIGINT,
// SIGTERM, SIGHUP), between transfers, or a failed transfer; ends closed. *stopped_by_user tells
// whether the user stopped it between transfers. A stop signal during a transfer ends that
// transfer as a failed one, and polling with it; platform::stop_signal() then names it.
PollingEnd show_polling_window(Reader& reader, bool* stopped_by_user = nullptr);

}  // namespace ravelo

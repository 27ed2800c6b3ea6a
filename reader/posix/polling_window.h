// The online polling window on the terminal, for the POSIX front end.
#pragma once

#include "reader/reader.h"

namespace ravelo {

// Polls with run_transfer once per interval until Esc, q or Ctrl+C between transfers, or a
// failed transfer; returns 2. Without a terminal only Ctrl+C (SIGINT) or SIGTERM stops it.
int show_polling_window(Reader& reader);

}  // namespace ravelo

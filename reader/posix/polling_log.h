// Online polling with no terminal on standard input, as a service runs it: a log, no screen.
#pragma once

#include "reader/posix/reader_boxes.h"
#include "reader/reader.h"

namespace ravelo {

// Polls with run_transfer once per interval and writes one plain line per event on standard
// output: the start, each batch (time, port, file, record count), each failure with its reason
// (a failure that repeats poll after poll only once), the end. A stop signal between transfers
// ends polling as the user's choice (*stopped_by_user); during a transfer it ends that transfer
// as a failed one, and polling with it. Ends closed, as the polling window does.
PollingEnd run_polling_log(Reader& reader, ReaderBoxes& boxes, bool* stopped_by_user);

}  // namespace ravelo

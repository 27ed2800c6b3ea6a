// The reader's run: the choice between dialog, command line and polling, and one transfer.
#pragma once

#include "reader/reader.h"

namespace ravelo {

// 1 when the run went to its end; 0 after Storno, a closed polling window or a failed transfer.
int run_reader(Reader& reader);
// Records received (0 or more), 0 when the port or the terminal failed, -1 when a started
// transfer failed.
int run_transfer(Reader& reader);

}  // namespace ravelo

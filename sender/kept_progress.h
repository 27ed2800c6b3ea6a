// The progress bar moved while the terminal answers, never between an answer and the next send.
#pragma once

#include "sender/sender.h"

namespace lumbra {

// Keeps a block's position until the next record is on its way; a newer position replaces one
// not shown yet, so the bar may skip positions but always shows the latest.
void keep_progress(Sender& sender, int percent);
// Shows a kept position: after a write, before the bar is set at once, and before it closes.
void show_kept_progress(Sender& sender);

}  // namespace lumbra

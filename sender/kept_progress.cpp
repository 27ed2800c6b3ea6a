// A drawn bar costs milliseconds where the display is remote (Wine): drawn while the answer is
// on its way, it costs the exchange nothing.
#include "sender/kept_progress.h"

namespace lumbra {

void keep_progress(Sender& sender, int percent) {
    // A position not shown yet gives way to the newer one: shown now, it would hold up the next
    // record while the terminal waits for it.
    sender.attempt.progress_kept = percent;
}

void show_kept_progress(Sender& sender) {
    if (sender.attempt.progress_kept < 0) return;
    sender.ui.set_progress(sender.attempt.progress_kept);
    sender.attempt.progress_kept = -1;
}

}  // namespace lumbra

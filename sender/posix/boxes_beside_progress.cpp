// Boxes shown with the progress line out of their way.
#include "sender/posix/boxes_beside_progress.h"

namespace lumbra {

void BoxesBesideProgress::show(const common::Box& box) {
    progress_.hide();
    common::TerminalMessageBoxes::show(box);
    progress_.show_again();
}

bool BoxesBesideProgress::ask(const common::Box& box) {
    progress_.hide();
    const bool yes = common::TerminalMessageBoxes::ask(box);
    progress_.show_again();
    return yes;
}

}  // namespace lumbra

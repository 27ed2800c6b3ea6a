// Message boxes on a POSIX terminal: messages on standard error, questions on the terminal.
#pragma once

#include "common/message_boxes.h"

namespace common {

class TerminalMessageBoxes : public MessageBoxes {
  protected:
    void show(const Box& box) override;
    // Asked on the controlling terminal; "a" (ano) or "y" is Yes. Without a terminal nobody can
    // answer, so the answer is No, the one that changes nothing.
    bool ask(const Box& box) override;
};

}  // namespace common

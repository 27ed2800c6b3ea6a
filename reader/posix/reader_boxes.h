// The reader's message boxes on Linux: on the terminal, or kept for the polling log.
#pragma once

#include <string>

#include "common/posix/terminal_message_boxes.h"

namespace ravelo {

// Until diverted, boxes go to the terminal as everywhere. Online polling with no terminal to ask
// on diverts them: an error becomes the reason on the log line of the poll it belongs to,
// anything else is said by that line already, and a question is answered No in silence.
class ReaderBoxes : public common::TerminalMessageBoxes {
  public:
    void divert_to_log() { diverted_ = true; }
    // The errors shown since the last call, on one line; empty when none.
    std::string take_reasons();

  protected:
    void show(const common::Box& box) override;
    bool ask(const common::Box& box) override;

  private:
    bool diverted_ = false;
    std::string reasons_;
};

}  // namespace ravelo

// Message boxes on the terminal that step around the progress line while it is shown.
#pragma once

#include "common/posix/status_line.h"
#include "common/posix/terminal_message_boxes.h"

namespace lumbra {

// A message during a transfer ("FULL", a record not acknowledged) would otherwise be written
// into the middle of the bar: the line is hidden, the box shown below its place, and the line
// drawn again under the box.
class BoxesBesideProgress : public common::TerminalMessageBoxes {
  public:
    explicit BoxesBesideProgress(common::TerminalStatusLine& progress) : progress_(progress) {}

  protected:
    void show(const common::Box& box) override;
    bool ask(const common::Box& box) override;

  private:
    common::TerminalStatusLine& progress_;
};

}  // namespace lumbra

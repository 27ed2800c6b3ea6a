// Message boxes through the wide API, with the icons and owners the programs ask for.
#pragma once

#include "common/message_boxes.h"

namespace common {

class Win32MessageBoxes : public MessageBoxes {
  protected:
    void show(const Box& box) override;
    bool ask(const Box& box) override;
};

}  // namespace common

// Message boxes owned by the active window (or by none), with the texts converted to UTF-16.
#include "common/win32/win32_message_boxes.h"

#include <windows.h>

#include "platform/win32/wide.h"

namespace common {

namespace {

UINT icon_flags(BoxIcon icon) {
    switch (icon) {
        case BoxIcon::exclamation:
            return MB_ICONEXCLAMATION;
        case BoxIcon::question:
            return MB_ICONQUESTION;
        case BoxIcon::none:
            break;
    }
    return 0;
}

// A box with no owner (offline and command-line runs) could open behind the user's program and
// wait there unseen; it comes to the front and stays there.
UINT placement_flags(HWND owner) {
    return owner ? 0 : MB_SETFOREGROUND | MB_TOPMOST;
}

int show_box(const Box& box, UINT buttons) {
    HWND owner = box.owner == BoxOwner::none ? nullptr : GetActiveWindow();
    return MessageBoxW(owner, platform::to_wide(box.text).c_str(),
                       platform::to_wide(box.caption).c_str(),
                       buttons | icon_flags(box.icon) | placement_flags(owner));
}

}  // namespace

void Win32MessageBoxes::show(const Box& box) {
    show_box(box, MB_OK);
}

bool Win32MessageBoxes::ask(const Box& box) {
    return show_box(box, MB_YESNO) == IDYES;
}

}  // namespace common

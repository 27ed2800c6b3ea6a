// The sender's dialogs, each owned by the window the user is working in, and the common controls.
#include "sender/win32/win32_sender_ui.h"

#include <commctrl.h>

#include "sender/sender.h"
#include "sender/win32/lookup_file_dialog.h"
#include "sender/win32/port_dialog.h"

namespace lumbra {

bool Win32SenderUi::choose_lookup_file(Sender& sender) {
    return lumbra::choose_lookup_file(sender.settings, GetActiveWindow());
}

common::DialogEnd Win32SenderUi::run_port_dialog(Sender& sender) {
    return show_port_dialog(sender.settings, templates_, GetFocus());
}

// The progress bar's class "msctls_progress32" is registered by this call.
void Win32SenderUi::init_common_controls() {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_PROGRESS_CLASS;
    InitCommonControlsEx(&controls);
}

}  // namespace lumbra

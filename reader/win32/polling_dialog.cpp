// The Win32 polling window: the timer is killed around each transfer so ticks never pile up.
#include "reader/win32/polling_dialog.h"

#include "reader/run_reader.h"
#include "resources/ravelo_ids.h"

namespace ravelo {

namespace {

// The window always ends with Storno's code.
constexpr INT_PTR kPollingClosed = IDCANCEL;

void arm_timer(HWND dialog, const PollingWindow& window) {
    SetTimer(dialog, POLL_TIMER_ID, poll_period_ms(window.reader.settings), nullptr);
}

void on_tick(HWND dialog, PollingWindow& window) {
    KillTimer(dialog, POLL_TIMER_ID);
    int result = -1;
    try {
        result = window.transfer();
    } catch (...) {
        result = -1;  // a transfer that could not finish counts as failed
    }
    if (polling_goes_on(result)) {
        arm_timer(dialog, window);
    } else {
        EndDialog(dialog, kPollingClosed);
    }
}

}  // namespace

INT_PTR CALLBACK polling_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* window = reinterpret_cast<PollingWindow*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG:
            window = reinterpret_cast<PollingWindow*>(lparam);
            SetWindowLongPtrW(dialog, DWLP_USER, lparam);
            arm_timer(dialog, *window);
            if (polling_starts_minimised(window->reader.settings)) {
                ShowWindow(dialog, SW_SHOWMINIMIZED);
            }
            return TRUE;
        case WM_TIMER:
            if (window != nullptr) on_tick(dialog, *window);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wparam) == IDOK) ShowWindow(dialog, SW_SHOWMINIMIZED);
            if (LOWORD(wparam) == IDCANCEL) {
                KillTimer(dialog, POLL_TIMER_ID);
                EndDialog(dialog, kPollingClosed);
            }
            return FALSE;
        default:
            return FALSE;
    }
}

PollingEnd show_polling_window(PollingWindow& window, HINSTANCE templates) {
    // Any other result means the window could not be created.
    const INT_PTR result = DialogBoxParamW(templates, L"ProgressDlg", GetActiveWindow(),
                                           polling_dialog_proc, reinterpret_cast<LPARAM>(&window));
    return result == kPollingClosed ? PollingEnd::closed : PollingEnd::not_shown;
}

PollingEnd show_polling_window(Reader& reader) {
    PollingWindow window{reader, [&reader] { return run_transfer(reader); }};
    return show_polling_window(window, GetModuleHandleW(nullptr));
}

}  // namespace ravelo

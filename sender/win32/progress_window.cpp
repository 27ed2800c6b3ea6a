// The progress window: a template without a procedure, a bar made in code, and painting done
// by the calls themselves, since the transfer runs no message loop.
#include "sender/win32/progress_window.h"

#include <commctrl.h>

#include "resources/lumbra_ids.h"

namespace lumbra {

namespace {

constexpr int kBarMargin = 14;  // pixels left and right of the bar
constexpr int kBarHeight = 20;  // pixels

// Sends now the paint messages that a message loop would have dispatched: for the window's
// frame, its background and every control with something to repaint.
void paint_now(HWND window, UINT also) {
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN | also);
}

}  // namespace

void ProgressWindow::open() {
    close();
    // The template is visible: the window is shown now, and first painted below, once static
    // 151 no longer says "Static".
    window_ = CreateDialogParamW(templates_, L"ProgressDlg", nullptr, nullptr, 0);
    if (!window_) return;
    RECT client{};
    GetClientRect(window_, &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    SetDlgItemTextW(window_, IDC_PROGRESS_STATUS, L" ");
    bar_ = CreateWindowExW(0, PROGRESS_CLASSW, L"Přenáším", WS_CHILD | WS_VISIBLE, kBarMargin,
                           height / 2, width - 2 * kBarMargin, kBarHeight, window_, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
    if (bar_) {
        SendMessageW(bar_, PBM_SETPOS, 0, 0);
        SendMessageW(bar_, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    }
    paint_now(window_, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

void ProgressWindow::set(int percent) {
    if (!bar_) return;
    SendMessageW(bar_, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
    // Also repaints what a message box or another window uncovered since the last call.
    paint_now(window_, 0);
}

void ProgressWindow::close() {
    // The bar is the window's child and goes with it: there is nothing left to destroy after.
    if (window_) DestroyWindow(window_);
    window_ = nullptr;
    bar_ = nullptr;
}

}  // namespace lumbra

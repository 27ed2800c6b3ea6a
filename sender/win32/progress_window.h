// The progress window "ProgressDlg" with its bar, shown while the lookup file is sent.
#pragma once

#include <windows.h>

namespace lumbra {

// The window and its bar, the two handles the program keeps while the window exists. The
// transfer holds the thread and no messages are processed, so the window paints itself at once
// when it opens and at every new position.
class ProgressWindow {
  public:
    explicit ProgressWindow(HINSTANCE templates) : templates_(templates) {}
    ~ProgressWindow() { close(); }
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    // The window from its template (no owner, no procedure of its own), static 151 blanked, and
    // the bar at 0 of 0..100 in the lower half of the client area. Without a window (the
    // template or the display missing) the transfer goes on without one.
    void open();
    // Moves the bar to `percent` and paints it before returning.
    void set(int percent);
    void close();

    HWND window() const { return window_; }
    HWND bar() const { return bar_; }

  private:
    HINSTANCE templates_;
    HWND window_ = nullptr;
    HWND bar_ = nullptr;
};

}  // namespace lumbra

// The counter box drawn with GDI straight onto the whole screen, its background kept aside.
#pragma once

#include <windows.h>

#include <string>

#include "reader/win32/counter_box.h"

namespace ravelo {

// Takes the screen's device context afresh in every call and releases it before returning;
// only the saved background (a memory DC and its bitmap) lives from start to finish. The text is
// measured and drawn in the system's message font, made once and deleted with the object.
class GdiCounterScreen : public CounterScreen {
  public:
    GdiCounterScreen() = default;
    ~GdiCounterScreen() override;
    GdiCounterScreen(const GdiCounterScreen&) = delete;
    GdiCounterScreen& operator=(const GdiCounterScreen&) = delete;

    int screen_width() override;
    int screen_height() override;
    int text_width(const std::string& text) override;
    bool save_background(const ScreenRect& area) override;
    void paint_box(const ScreenRect& box, const std::string& text) override;
    void restore_background(const ScreenRect& area) override;

  private:
    void release_capture();
    HGDIOBJ text_font();
    HFONT message_font_ = nullptr;
    HDC saved_dc_ = nullptr;
    HBITMAP saved_bitmap_ = nullptr;
    HGDIOBJ replaced_bitmap_ = nullptr;  // the memory DC's own bitmap, put back before deleting
};

}  // namespace ravelo

// The record counter as Windows draws it: a box of GDI pixels over the saved screen, its place,
// size and text. Free of <windows.h>, so the host tests check the arithmetic too.
#pragma once

#include <cstdint>
#include <string>

#include "reader/counter_view.h"

namespace ravelo {

struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const ScreenRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

// The drawing operations the box needs: GDI, or a test's recorder.
class CounterScreen {
  public:
    virtual ~CounterScreen() = default;
    virtual int screen_width() = 0;
    virtual int screen_height() = 0;
    // Width in pixels of the text (UTF-8) in the font the box is drawn in.
    virtual int text_width(const std::string& text) = 0;
    // Saves the pixels of the rectangle; returns false when nothing could be saved.
    virtual bool save_background(const ScreenRect& area) = 0;
    // Paints the pale-yellow, black-outlined box with the text centred in it.
    virtual void paint_box(const ScreenRect& box, const std::string& text) = 0;
    // Puts the saved pixels back and frees them.
    virtual void restore_background(const ScreenRect& area) = 0;
};

constexpr int kCounterBoxHeight = 40;
constexpr int kCounterMargin = 50;
constexpr int kCounterRaise = 10;
constexpr std::uint32_t kCounterFill = 0x0064FFFF;

struct CounterOverlay {
    int centre_x = 0;
    int centre_y = 0;
    int box_width = 0;
    bool capture_held = false;  // stands for a non-null saved bitmap
    std::string counter_text = "Počet přijatých záznamů: 0    ";
};

// The box as painted: its width is twice box_width / 2, one pixel less when box_width is odd.
ScreenRect counter_box(const CounterOverlay& overlay);
// The pixels saved at start and put back at finish: always box_width wide, covering the box.
ScreenRect counter_capture(const CounterOverlay& overlay);
// A rectangle in the screen's real pixels (where the box is drawn) in the scaled coordinates
// that windows use when the program is not aware of display scaling; rounded outwards, so it
// covers every real pixel. Unchanged when either size is not known.
ScreenRect scaled_to_windows(const ScreenRect& real, int real_width, int real_height,
                             int window_width, int window_height);

// Start measures and saves the screen under the box; show paints it with the count; finish puts
// the saved screen back (nothing when none is held). The state stays from one transfer to the
// next: the text the last one left sizes the next box.
class CounterBox : public CounterView {
  public:
    explicit CounterBox(CounterScreen& screen) : screen_(screen) {}
    void start() override;
    void show(int count) override;
    void finish() override;
    const CounterOverlay& overlay() const { return overlay_; }

  private:
    CounterScreen& screen_;
    CounterOverlay overlay_;
};

}  // namespace ravelo

// The record counter box: its process-wide state and the screen it is drawn on.
#pragma once

#include <cstdint>
#include <string>

namespace ravelo {

struct Reader;

struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const ScreenRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

// The drawing operations the counter needs; GDI on Windows, the terminal elsewhere.
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

enum CounterMode { kCounterStart = 0, kCounterUpdate = 1, kCounterFinish = 2 };

constexpr int kCounterBoxHeight = 40;
constexpr int kCounterMargin = 50;
constexpr int kCounterRaise = 10;
constexpr std::uint32_t kCounterFill = 0x0064FFFF;
inline const char* const kCounterPrefix = "Počet přijatých záznamů: ";

struct CounterOverlay {
    int centre_x = 0;
    int centre_y = 0;
    int box_width = 0;
    bool capture_held = false;  // stands for a non-null saved bitmap
    std::string counter_text = "Počet přijatých záznamů: 0    ";
};

}  // namespace ravelo

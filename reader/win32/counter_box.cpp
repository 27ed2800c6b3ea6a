// The counter box's place, size and text; the screen itself is drawn by a CounterScreen.
#include "reader/win32/counter_box.h"

#include <string>

namespace ravelo {

ScreenRect counter_box(const CounterOverlay& overlay) {
    const int half_height = kCounterBoxHeight / 2;
    return {overlay.centre_x - overlay.box_width / 2, overlay.centre_y - half_height,
            overlay.centre_x + overlay.box_width / 2, overlay.centre_y + half_height};
}

ScreenRect counter_capture(const CounterOverlay& overlay) {
    const int left = overlay.centre_x - overlay.box_width / 2;
    const int top = overlay.centre_y - kCounterBoxHeight / 2;
    return {left, top, left + overlay.box_width, top + kCounterBoxHeight};
}

namespace {

int scale_down(int value, int real, int scaled) {
    const long long product = static_cast<long long>(value) * scaled;
    return static_cast<int>(product >= 0 ? product / real : -((-product + real - 1) / real));
}

int scale_up(int value, int real, int scaled) {
    return -scale_down(-value, real, scaled);
}

}  // namespace

ScreenRect scaled_to_windows(const ScreenRect& real, int real_width, int real_height,
                             int window_width, int window_height) {
    if (real_width <= 0 || real_height <= 0 || window_width <= 0 || window_height <= 0) return real;
    return {scale_down(real.left, real_width, window_width),
            scale_down(real.top, real_height, window_height),
            scale_up(real.right, real_width, window_width),
            scale_up(real.bottom, real_height, window_height)};
}

void CounterBox::start() {
    overlay_.centre_x = screen_.screen_width() / 2;
    overlay_.centre_y = screen_.screen_height() / 2 - kCounterRaise;
    // The text left by the previous transfer sizes the box, so it fits the last count shown.
    overlay_.box_width = screen_.text_width(overlay_.counter_text) + kCounterMargin;
    overlay_.capture_held = screen_.save_background(counter_capture(overlay_));
}

void CounterBox::show(int count) {
    overlay_.counter_text = kCounterPrefix + std::to_string(count);
    screen_.paint_box(counter_box(overlay_), overlay_.counter_text);
}

void CounterBox::finish() {
    if (!overlay_.capture_held) return;
    screen_.restore_background(counter_capture(overlay_));
    overlay_.capture_held = false;
}

}  // namespace ravelo

// The counter box's place, size and text; the screen itself is drawn by a CounterScreen.
#include "reader/counter.h"

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

namespace {

void start_counter(CounterOverlay& overlay, CounterScreen& screen) {
    overlay.centre_x = screen.screen_width() / 2;
    overlay.centre_y = screen.screen_height() / 2 - kCounterRaise;
    // The text left by the previous transfer sizes the box, so it fits the last count shown.
    overlay.box_width = screen.text_width(overlay.counter_text) + kCounterMargin;
    overlay.capture_held = screen.save_background(counter_capture(overlay));
}

void update_counter(CounterOverlay& overlay, CounterScreen& screen, int count) {
    overlay.counter_text = kCounterPrefix + std::to_string(count);
    screen.paint_box(counter_box(overlay), overlay.counter_text);
}

void finish_counter(CounterOverlay& overlay, CounterScreen& screen) {
    if (!overlay.capture_held) return;
    screen.restore_background(counter_capture(overlay));
    overlay.capture_held = false;
}

}  // namespace

void draw_counter(Reader& reader, int mode, int count) {
    CounterScreen& screen = reader.ui.counter_screen();
    if (mode == kCounterStart) {
        start_counter(reader.counter, screen);
    } else if (mode == kCounterUpdate) {
        update_counter(reader.counter, screen, count);
    } else {
        finish_counter(reader.counter, screen);
    }
}

}  // namespace ravelo

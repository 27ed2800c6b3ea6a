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

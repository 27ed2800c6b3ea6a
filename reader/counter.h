// The record counter box in the middle of the screen: start, update and finish.
#pragma once

#include "reader/counter_overlay.h"
#include "reader/reader.h"

namespace ravelo {

// The box as painted: its width is twice box_width / 2, one pixel less when box_width is odd.
ScreenRect counter_box(const CounterOverlay& overlay);
// The pixels saved at start and put back at finish: always box_width wide, covering the box.
ScreenRect counter_capture(const CounterOverlay& overlay);
// A rectangle in the screen's real pixels (where the box is drawn) in the scaled coordinates
// that windows use when the program is not aware of display scaling; rounded outwards, so it
// covers every real pixel. Unchanged when either size is not known.
ScreenRect scaled_to_windows(const ScreenRect& real, int real_width, int real_height,
                             int window_width, int window_height);

// Mode 0 measures and saves the screen under the box; 1 paints it with `count`; any other mode
// puts the saved screen back (nothing when none is held).
void draw_counter(Reader& reader, int mode, int count);

}  // namespace ravelo

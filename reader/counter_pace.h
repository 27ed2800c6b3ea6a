// The counter box's updates during a transfer, painted after the acknowledgement and paced.
#pragma once

#include "common/paint_pace.h"
#include "reader/reader.h"

namespace ravelo {

// Counts not yet painted are kept; the last one is always painted before the box goes.
struct CounterPace {
    common::PaintPace pace;
    int kept = 0;  // a count not painted yet, 0 when none
};

// Paints `count` now when the pace allows, else keeps it.
void show_count(Reader& reader, CounterPace& pace, int count);
// Paints a kept count: when the line falls quiet and before the box is finished.
void show_kept_count(Reader& reader, CounterPace& pace);

}  // namespace ravelo

// Counter updates held to the eye's pace, so the box never holds up the terminal.
#include "reader/counter_pace.h"

#include "reader/counter_view.h"

namespace ravelo {

void show_count(Reader& reader, CounterPace& pace, int count) {
    pace.kept = count;
    if (pace.pace.due(reader.clock.tick_ms())) show_kept_count(reader, pace);
}

void show_kept_count(Reader& reader, CounterPace& pace) {
    if (pace.kept == 0) return;
    reader.ui.counter_view().show(pace.kept);
    pace.pace.painted_at(reader.clock.tick_ms());
    pace.kept = 0;
}

}  // namespace ravelo

// The record counter the reader shows while records arrive (`draw_counter` in three named steps).
#pragma once

namespace ravelo {

// What the counter shows, before the count.
inline const char* const kCounterPrefix = "Počet přijatých záznamů: ";

// Started before the first record, shown after each stored one, finished on every way out of
// the transfer, so the screen is put back whatever the outcome. The Windows box lives in
// reader/win32/counter_box.h, the terminal's line in reader/posix/terminal_counter_view.h.
class CounterView {
  public:
    virtual ~CounterView() = default;
    virtual void start() = 0;
    virtual void show(int count) = 0;
    virtual void finish() = 0;
};

}  // namespace ravelo

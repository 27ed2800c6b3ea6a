// A reader with a scripted user, a virtual clock, no ports and a fresh temporary directory.
#pragma once

#include <memory>
#include <string>

#include "platform/serial.h"
#include "reader/reader.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_dir.h"
#include "tools/simulated-line/virtual_clock.h"

namespace reader_test {

class NoPorts : public platform::SerialPorts {
  public:
    platform::OpenedLine open(unsigned, const platform::LineSettings&) override { return {}; }
};

using testing_support::read_bytes;
using testing_support::TempDir;
using testing_support::write_bytes;

struct ReaderFixture {
    NoPorts ports;
    simline::VirtualClock clock;
    testing_support::RecordingUi ui;
    ravelo::Reader reader{ports, clock, ui, ui};
    TempDir temp;
};

}  // namespace reader_test

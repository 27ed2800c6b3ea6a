// The sender's process-wide state in one record, and what it reaches the platform through.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "common/file_charset.h"
#include "common/message_boxes.h"
#include "platform/clock.h"
#include "platform/serial.h"
#include "sender/lookup_source.h"
#include "sender/sender_settings.h"
#include "sender/sender_ui.h"

namespace lumbra {

constexpr std::size_t kRecordBufferBytes = 256;  // 253 payload bytes, two checksum bytes, CR

// One attempt's record being built and how far through the lookup file it is.
struct Attempt {
    std::uint8_t record[kRecordBufferBytes] = {};
    std::size_t length = 0;
    std::uint32_t sum = 0;
    std::uint64_t bytes_read = 0;
    std::uint64_t file_size = 0;  // as known at the start: the bar's 100 %
    bool after_cr = false;        // the previous byte was a CR, so an LF now belongs to it
    int line = 1;                 // the line being built, counted from 1
    int progress_kept = -1;       // a block's position not shown yet, -1 when none
};

struct Sender {
    Sender(platform::SerialPorts& serial_ports, platform::Clock& tick_clock,
           common::MessageBoxes& message_boxes, SenderUi& user_interface)
        : ports(serial_ports), clock(tick_clock), boxes(message_boxes), ui(user_interface) {}

    platform::SerialPorts& ports;
    platform::Clock& clock;
    common::MessageBoxes& boxes;
    SenderUi& ui;

    SenderSettings settings;
    std::string settings_path;  // empty in command-line mode: nothing is written then
    // The file the settings were read from: settings_path, or an administrator's file beside
    // the executable while the user's own does not exist yet.
    std::string starting_settings_path;
    std::unique_ptr<platform::SerialLine> port;
    LookupSource lookup;
    // How the lookup file is written: in the terminal's code page, or UTF-8 (Linux only).
    common::FileCharset file_charset = common::FileCharset::cp1250;
    Attempt attempt;
    // The terminal acknowledged the end marker in this run.
    bool loaded = false;
};

}  // namespace lumbra

// The reader's process-wide state in one record, and what it reaches the platform through.
#pragma once

#include <memory>
#include <string>

#include "common/file_charset.h"
#include "common/message_boxes.h"
#include "platform/clock.h"
#include "platform/file.h"
#include "platform/serial.h"
#include "reader/reader_settings.h"
#include "reader/reader_ui.h"

namespace ravelo {

struct Reader {
    Reader(platform::SerialPorts& serial_ports, platform::Clock& tick_clock,
           common::MessageBoxes& message_boxes, ReaderUi& user_interface)
        : ports(serial_ports), clock(tick_clock), boxes(message_boxes), ui(user_interface) {}

    platform::SerialPorts& ports;
    platform::Clock& clock;
    common::MessageBoxes& boxes;
    ReaderUi& ui;

    ReaderSettings settings;
    std::string settings_path;  // the settings file, the one that is written
    // The file the settings were read from at start: settings_path, or an administrator's file
    // beside the executable while the user's own does not exist yet.
    std::string starting_settings_path;
    std::string output_path;  // the output file of the next transfer
    bool command_line_mode = false;
    // How records are written: as the terminal sends them, or converted to UTF-8 (Linux only).
    common::FileCharset file_charset = common::FileCharset::cp1250;
    bool output_open = false;
    // Records stored by the current transfer, kept even when it fails part-way, so that a
    // file holding acknowledged records is never deleted.
    int stored_records = 0;
    // Transfers of this run that stored at least one record.
    int batches_received = 0;
    std::unique_ptr<platform::SerialLine> port;
    platform::File output;
};

}  // namespace ravelo

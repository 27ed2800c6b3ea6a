// The reader's settings record, as the settings file and the command-line string store it.
#pragma once

#include <string>

#include "common/port_labels.h"

namespace ravelo {

constexpr int kPortCount = common::kReaderPortCount;
constexpr int kFileModeCount = 4;  // offline modes; online offers three
constexpr int kMinPollInterval = 1;
constexpr int kMaxPollInterval = 9999;
constexpr int kDefaultPollInterval = 2;

// Offline meanings of file_mode; online, 0 is the automatic name and 2 overwrites.
enum FileMode { kOverwrite = 0, kAppend = 1, kNewFileOnly = 2, kAutomaticName = 3 };

struct ReaderSettings {
    std::string directory;  // UTF-8; may or may not end in a separator
    std::string file_name;
    int port_index = 0;
    int baud_index = 0;
    int file_mode = 0;
    int append_cr = 1;
    int append_lf = 1;
    int show_errors = 1;
    int show_received = 1;
    int always_ask = 1;
    int online = 0;
    int poll_interval = kDefaultPollInterval;

    bool operator==(const ReaderSettings& other) const;
    bool operator!=(const ReaderSettings& other) const { return !(*this == other); }
};

}  // namespace ravelo

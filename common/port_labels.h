// Port names and speed labels, the same lists in both programs' dialogs and forms.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace common {

constexpr int kReaderPortCount = 9;  // COM1..COM9
constexpr int kSenderPortCount = 6;  // COM1..COM6

// The speed list of both programs, stored as its index.
constexpr std::uint32_t kBaudRates[] = {115200, 57600, 38400, 19200, 9600};
constexpr int kBaudRateCount = 5;

// "COM1" for index 0.
std::string port_name(int port_index);
// "COM1".."COM<count>".
std::vector<std::string> port_labels(int count);
// "115200", "57600", "38400", "19200", "9600".
const std::vector<std::string>& baud_labels();

}  // namespace common

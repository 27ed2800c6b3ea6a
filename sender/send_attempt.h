// One attempt to load the lookup file into the terminal: wake-up, every line as a checksummed
// record with its acknowledgement, and the end marker.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "sender/sender.h"

namespace lumbra {

constexpr std::uint32_t kAnswerLimitMs = 3000;
constexpr std::size_t kAnswerCompleteBytes = 10;
constexpr std::size_t kAnswerReadBytes = 3;
constexpr int kWakeUpTries = 3;
constexpr int kRecordSends = 4;

// 1 when the terminal acknowledged the end marker; 0 after the specific message; -1 when the
// attempt failed on the file itself (a line longer than a record holds; nothing is sent when
// the check finds it), which a repeat cannot mend.
int send_attempt(Sender& sender);

// 1 when the terminal answers "ACK" or "ack" to one of three wake-ups; 0 after "Terminál není
// připraven!".
int wake_terminal(Sender& sender);

// Writes the bytes and returns the terminal's answer without its one trailing CR: complete when
// a read ends with CR or 10 bytes have come, or as collected once 3000 ms have passed.
std::string exchange(Sender& sender, const std::uint8_t* bytes, std::size_t n);

// Every line of the lookup file as a record, then "OVER\r"; 1, 0, or -1 when a line is too long
// for a record. On failure the file is positioned at its start again.
int send_lookup_file(Sender& sender);

// Sends the first n bytes of the record buffer up to four times until "ACK"; "FULL" ends it at
// once. 1 on "ACK", 0 after a message.
int send_record(Sender& sender, std::size_t n);

}  // namespace lumbra

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

// How one attempt ended.
enum class AttemptEnd {
    loaded,        // the terminal acknowledged the end marker
    failed,        // after the message that says why; a repeat may succeed
    file_refused,  // the file itself cannot go (a line longer than a record holds, a text that
                   // cannot be converted, a failed read), which a repeat cannot mend
};

// Checks the file (nothing is sent when the check refuses it), wakes the terminal and sends.
AttemptEnd send_attempt(Sender& sender);

// True when the terminal answers "ACK" or "ack" to one of three wake-ups; false after "Terminál
// není připraven!".
bool wake_terminal(Sender& sender);

// Writes the bytes and returns the terminal's answer without its one trailing CR: complete when
// a read ends with CR or 10 bytes have come, or as collected once 3000 ms have passed.
std::string exchange(Sender& sender, const std::uint8_t* bytes, std::size_t n);

// Every line of the lookup file as a record, then "OVER\r". On failure the file is positioned at
// its start again.
AttemptEnd send_lookup_file(Sender& sender);

// Sends the first n bytes of the record buffer up to four times until "ACK"; "FULL" ends it at
// once. True on "ACK", false after a message.
bool send_record(Sender& sender, std::size_t n);

}  // namespace lumbra

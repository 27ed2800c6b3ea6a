// The byte-by-byte message wait shared by the request and record phases.
#include "reader/message_wait.h"

#include <cstring>

#include "common/answer_deadline.h"
#include "platform/stop_signals.h"

namespace ravelo {

namespace {

void take_byte(std::uint8_t byte, const MessageRules& rules, MessageBuffer& buffer) {
    if (buffer.length < rules.keep) {
        buffer.bytes[buffer.length++] = byte;
        buffer.last = byte;
    } else if (rules.dropped_bytes_count) {
        buffer.last = byte;
    }
}

}  // namespace

WaitEnd wait_for_message(platform::SerialLine& line, platform::Clock& clock,
                         const MessageRules& rules, MessageBuffer& buffer) {
    const common::AnswerDeadline deadline(clock, rules.limit_ms);
    buffer.length = 0;
    buffer.last = 0;
    for (;;) {
        if (platform::stop_requested()) return WaitEnd::stopped;
        std::uint8_t byte = 0;
        const bool got = line.read(&byte, 1) == 1;
        if (got) take_byte(byte, rules, buffer);
        if (got && buffer.last == kCarriageReturn) return WaitEnd::complete;
        // A line that has failed outright stays silent: its limit need not be slept out.
        if (line.failed()) return WaitEnd::failed;
        if (deadline.reached()) return WaitEnd::timed_out;
        // Only an empty poll sleeps: buffered bytes are taken at full speed.
        if (!got) deadline.wait_until_reached(line);
    }
}

bool buffer_equals(const MessageBuffer& buffer, const std::string& text) {
    return buffer.length == text.size() &&
           std::memcmp(buffer.bytes, text.data(), buffer.length) == 0;
}

}  // namespace ravelo

// The receive exchange: "READ\r" until "ACK\r", then records checked, stored and acknowledged.
#include "reader/receive_records.h"

#include <string>
#include <string_view>

#include "common/checksum.h"
#include "common/line_open.h"
#include "platform/file_failure.h"
#include "reader/counter_pace.h"
#include "reader/counter_view.h"
#include "reader/message_wait.h"
#include "reader/output_file.h"
#include "reader/reader_messages.h"

namespace ravelo {

std::uint16_t record_sum(const std::uint8_t* sequence_and_data, std::size_t n) {
    return common::byte_sum(sequence_and_data, n);
}

namespace {

constexpr int kSequenceCount = 10;
constexpr int kSilentRequestsOffline = 3;  // attempts before the fourth silence ends it
constexpr int kSilentRequestsOnline = 4;
constexpr int kWrongAnswersAllowed = 5;
constexpr int kRecordRetries = 10;

void send(Reader& reader, const char* message) {
    const std::string text(message);
    reader.port->write(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

void report(Reader& reader, const std::string& text) {
    if (reader.settings.show_errors) reader.boxes.show_message(kErrorCaption, text);
}

// Said even online, where a silent terminal is not: asking again cannot help.
std::string port_failure(const Reader& reader) {
    return common::port_failure_message(reader.settings.port_index, *reader.port);
}

enum class RequestEnd { acknowledged, gave_up };

RequestEnd request_records(Reader& reader, MessageBuffer& buffer) {
    const bool online = reader.settings.online != 0;
    const MessageRules rules{online ? kOnlineAnswerLimitMs : kOfflineAnswerLimitMs, kAnswerKeep,
                             false};
    const int silent_allowed = online ? kSilentRequestsOnline : kSilentRequestsOffline;
    for (int attempt = 0;; ++attempt) {
        send(reader, "READ\r");
        const WaitEnd end = wait_for_message(*reader.port, reader.clock, rules, buffer);
        if (end == WaitEnd::stopped) return RequestEnd::gave_up;
        if (end == WaitEnd::failed) {
            report(reader, port_failure(reader));
            return RequestEnd::gave_up;
        }
        if (end == WaitEnd::timed_out && attempt >= silent_allowed) {
            if (!online) report(reader, kTimedOut);
            return RequestEnd::gave_up;
        }
        if (buffer_equals(buffer, "ACK\r")) return RequestEnd::acknowledged;
        if (attempt >= kWrongAnswersAllowed) {
            report(reader, kCannotConnect);
            return RequestEnd::gave_up;
        }
    }
}

// One transfer's record phase; `message` is shown after the counter box is gone.
struct RecordPhase {
    Reader& reader;
    MessageBuffer& buffer;
    int expected = 0;
    int stored = 0;
    std::string message;
    CounterPace counter;
};

bool checksum_matches(const MessageBuffer& buffer) {
    const std::size_t n = buffer.length;
    const std::uint16_t sum = record_sum(buffer.bytes, n - 3);
    return buffer.bytes[n - 3] ==
               common::wire_checksum_byte(static_cast<std::uint8_t>(sum & 0xFF)) &&
           buffer.bytes[n - 2] == common::wire_checksum_byte(static_cast<std::uint8_t>(sum >> 8));
}

bool is_well_formed(const MessageBuffer& buffer) {
    return buffer.length >= kRecordOverhead && checksum_matches(buffer);
}

// A record whose acknowledgement the terminal missed: the one stored last, sent again intact.
// A record never stored, or one whose sequence byte was garbled on the way, must not be
// acknowledged, or the terminal would drop data the file never got.
bool is_repeat_of_last(const RecordPhase& phase) {
    const int last = (phase.expected + kSequenceCount - 1) % kSequenceCount;
    return phase.stored > 0 && phase.buffer.bytes[0] == last && is_well_formed(phase.buffer);
}

bool store_record(RecordPhase& phase) {
    const MessageBuffer& buffer = phase.buffer;
    const ReaderSettings& settings = phase.reader.settings;
    const std::string_view record(reinterpret_cast<const char*>(buffer.bytes + 1),
                                  buffer.length - 4);
    std::string line = common::record_for_file(phase.reader.file_charset, record);
    if (settings.append_cr) line += '\r';
    if (settings.append_lf) line += '\n';
    return phase.reader.output.write_whole(reinterpret_cast<const std::uint8_t*>(line.data()),
                                           line.size());
}

enum class Step { go_on, done };

Step take_record(RecordPhase& phase) {
    Reader& reader = phase.reader;
    if (phase.buffer.bytes[0] != phase.expected) {
        send(reader, is_repeat_of_last(phase) ? "ACK\r" : "NAK\r");
        return Step::go_on;
    }
    if (!is_well_formed(phase.buffer)) {
        send(reader, "NAK\r");
        return Step::go_on;
    }
    if (!store_record(phase)) {
        phase.message = platform::file_failure_message(kCannotWriteFile, reader.output_path,
                                                       reader.output.system_error());
        return Step::done;
    }
    reader.stored_records = ++phase.stored;
    phase.expected = (phase.expected + 1) % kSequenceCount;
    // The terminal waits for the answer, not for the box.
    send(reader, "ACK\r");
    show_count(reader, phase.counter, phase.stored);
    return Step::go_on;
}

// Completed on "OVER\r"; failed when the file, the line or the terminal gave out, or a stop came.
TransferResult::End receive_batch(RecordPhase& phase) {
    using End = TransferResult::End;
    Reader& reader = phase.reader;
    if (!reader.output_open) {
        if (!open_output_file(reader)) return End::failed;
        reader.output_open = true;
    }
    const MessageRules rules{kRecordLimitMs, kRecordKeep, true};
    int retries = 0;
    for (;;) {
        const WaitEnd end = wait_for_message(*reader.port, reader.clock, rules, phase.buffer);
        if (end == WaitEnd::stopped) return End::failed;  // records stored so far stay
        if (end == WaitEnd::failed) {
            phase.message = port_failure(reader);
            return End::failed;
        }
        if (end == WaitEnd::timed_out) {
            if (retries++ >= kRecordRetries) {
                phase.message = kTimedOut;
                return End::failed;
            }
            send(reader, "NAK\r");
            show_kept_count(reader, phase.counter);  // the line is quiet: time to catch up
            continue;
        }
        retries = 0;
        if (buffer_equals(phase.buffer, "OVER\r")) return End::completed;
        if (take_record(phase) == Step::done) return End::failed;
    }
}

TransferResult receive_into_file(Reader& reader, MessageBuffer& buffer) {
    RecordPhase phase{reader, buffer, 0, 0, {}, CounterPace{}};
    reader.ui.counter_view().start();
    const TransferResult::End end = receive_batch(phase);
    show_kept_count(reader, phase.counter);
    reader.ui.counter_view().finish();
    if (!phase.message.empty()) report(reader, phase.message);
    return {end, phase.stored};
}

}  // namespace

TransferResult receive_records(Reader& reader) {
    reader.stored_records = 0;
    MessageBuffer buffer;
    if (request_records(reader, buffer) != RequestEnd::acknowledged) return {};
    return receive_into_file(reader, buffer);
}

}  // namespace ravelo

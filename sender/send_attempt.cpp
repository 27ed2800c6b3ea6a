// The lookup transmission: answers are awaited by polling short reads against the tick counter,
// sleeping in the line's wait between polls.
#include "sender/send_attempt.h"

#include <cstring>
#include <optional>

#include "common/answer_deadline.h"
#include "common/checksum.h"
#include "common/line_open.h"
#include "platform/stop_signals.h"
#include "sender/kept_progress.h"
#include "sender/lookup_charset.h"
#include "sender/lookup_lines.h"
#include "sender/sender_messages.h"

namespace lumbra {

namespace {

const char* const kWakeUpFirst = "velmor\r";
const char* const kWakeUpAgain = "VELMOR\r";
const char* const kEndMarker = "OVER\r";

std::string exchange_text(Sender& sender, const char* text) {
    return exchange(sender, reinterpret_cast<const std::uint8_t*>(text), std::strlen(text));
}

void warn(Sender& sender, const std::string& text) {
    sender.boxes.show_message(kCaption, text, common::BoxIcon::exclamation);
}

// A port that has failed outright cannot carry another try: said instead of a time-out.
bool port_failed(Sender& sender) {
    if (!sender.port->failed()) return false;
    warn(sender, common::port_failure_message(sender.settings.port_index, *sender.port));
    return true;
}

// Checksum high byte, low byte, CR after the payload; returns the record's length.
std::size_t finish_record(Attempt& a) {
    a.record[a.length++] = common::wire_checksum_byte(static_cast<std::uint8_t>(a.sum >> 8));
    a.record[a.length++] = common::wire_checksum_byte(static_cast<std::uint8_t>(a.sum & 0xFF));
    a.record[a.length++] = common::kCarriageReturn;
    return a.length;
}

// Sends the record built so far and starts the next one.
bool send_line(Sender& sender) {
    Attempt& a = sender.attempt;
    if (!send_record(sender, finish_record(a))) return false;
    a.length = 0;
    a.sum = 0;
    ++a.line;
    return true;
}

// One byte of the file: nothing when it was taken, else how it ended the attempt.
std::optional<AttemptEnd> take_byte(Sender& sender, std::uint8_t byte) {
    Attempt& a = sender.attempt;
    switch (classify_byte(byte, a.after_cr)) {
        case ByteRole::line_end:
            if (send_line(sender)) return std::nullopt;
            return AttemptEnd::failed;
        case ByteRole::ignored:
            return std::nullopt;
        case ByteRole::payload:
            break;
    }
    // The file was checked before the wake-up; this guards the buffer should it have changed.
    if (a.length >= kMaxPayloadBytes) {
        warn(sender, overlong_line_message(a.line));
        return AttemptEnd::file_refused;
    }
    a.record[a.length++] = byte;
    a.sum += byte;
    return std::nullopt;
}

AttemptEnd fail_and_rewind(Sender& sender, AttemptEnd end = AttemptEnd::failed) {
    sender.lookup.seek_to_start();
    return end;
}

// The share of the size known at the start; a source that grew since stands at 100.
int percent_read(const Attempt& a) {
    if (a.bytes_read >= a.file_size) return 100;
    return static_cast<int>(a.bytes_read * 100 / a.file_size);
}

void start_attempt(Sender& sender) {
    sender.attempt = Attempt{};
    sender.lookup.seek_to_start();
    sender.attempt.file_size = sender.lookup.size();
}

}  // namespace

std::string exchange(Sender& sender, const std::uint8_t* bytes, std::size_t n) {
    platform::SerialLine& line = *sender.port;
    if (platform::stop_requested()) return "";
    // A write that does not finish in time is abandoned; the answer is awaited all the same.
    line.write(bytes, n);
    std::string answer;
    const common::AnswerDeadline deadline(sender.clock, kAnswerLimitMs);
    show_kept_progress(sender);  // while the record travels and the terminal answers
    std::uint8_t last = 0;
    while (last != common::kCarriageReturn && answer.size() < kAnswerCompleteBytes &&
           !platform::stop_requested()) {
        std::uint8_t buffer[kAnswerReadBytes];
        const std::size_t got = line.read(buffer, sizeof buffer);
        if (got > 0) {
            answer.append(reinterpret_cast<const char*>(buffer), got);
            last = buffer[got - 1];
        }
        if (deadline.passed() || line.failed()) break;  // a failed line stays silent
        if (got == 0) deadline.wait_until_passed(line);
    }
    if (!answer.empty() && answer.back() == '\r') answer.pop_back();
    return answer;
}

bool wake_terminal(Sender& sender) {
    for (int attempt = 0; attempt < kWakeUpTries; ++attempt) {
        const std::string answer =
            exchange_text(sender, attempt == 0 ? kWakeUpFirst : kWakeUpAgain);
        if (answer == "ACK" || answer == "ack") return true;
        if (platform::stop_requested() || port_failed(sender)) return false;
    }
    warn(sender, kNotReady);
    return false;
}

bool send_record(Sender& sender, std::size_t n) {
    for (int send = 0; send < kRecordSends; ++send) {
        const std::string answer = exchange(sender, sender.attempt.record, n);
        if (answer == "FULL") {
            sender.boxes.show_message(kFullCaption, kMemoryFull, common::BoxIcon::exclamation);
            return false;
        }
        if (answer == "ACK") return true;
        // A stop from outside ends the attempt with nothing more sent and nothing to report.
        if (platform::stop_requested() || port_failed(sender)) return false;
    }
    warn(sender, kTransferError);
    return false;
}

AttemptEnd send_lookup_file(Sender& sender) {
    start_attempt(sender);
    Attempt& a = sender.attempt;
    std::uint8_t block[kFileBlockBytes];
    // To the end, whatever size was reported: a file may grow while it is sent.
    for (std::size_t n; (n = sender.lookup.read(block, sizeof block)) > 0;) {
        a.bytes_read += n;
        for (std::size_t i = 0; i < n; ++i) {
            if (const auto end = take_byte(sender, block[i])) return fail_and_rewind(sender, *end);
        }
        keep_progress(sender, percent_read(a));
    }
    // A table cut short by a failed read must not be ended as if it were whole.
    if (sender.lookup.read_failed()) {
        warn(sender, kCannotReadFile);
        return fail_and_rewind(sender, AttemptEnd::file_refused);
    }
    // The last line without a line end.
    if (a.length > 0 && !send_line(sender)) return fail_and_rewind(sender);
    show_kept_progress(sender);
    sender.ui.set_progress(100);  // at once: the bar stands at 100 before the end marker goes
    std::memcpy(a.record, kEndMarker, std::strlen(kEndMarker));
    if (!send_record(sender, std::strlen(kEndMarker))) return fail_and_rewind(sender);
    return AttemptEnd::loaded;
}

AttemptEnd send_attempt(Sender& sender) {
    const std::string refused = convert_lookup_file(sender);
    if (!refused.empty()) {
        warn(sender, refused);
        return AttemptEnd::file_refused;
    }
    const int overlong = first_overlong_line(sender.lookup);
    if (overlong > 0) {
        warn(sender, overlong_line_message(overlong));
        return AttemptEnd::file_refused;
    }
    if (sender.lookup.read_failed()) {
        warn(sender, kCannotReadFile);
        return AttemptEnd::file_refused;
    }
    if (!wake_terminal(sender)) return AttemptEnd::failed;
    sender.ui.open_progress_window();
    const AttemptEnd end = send_lookup_file(sender);
    show_kept_progress(sender);
    sender.ui.close_progress_window();
    if (end == AttemptEnd::loaded) warn(sender, kTransferDone);
    return end;
}

}  // namespace lumbra

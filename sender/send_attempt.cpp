// The lookup transmission: answers are awaited by polling short reads against the tick counter,
// sleeping in the line's wait between polls.
#include "sender/send_attempt.h"

#include <cstring>

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

// One byte of the file: 1 taken, 0 when the attempt has failed, -1 when it failed on the file.
int take_byte(Sender& sender, std::uint8_t byte) {
    Attempt& a = sender.attempt;
    switch (classify_byte(byte, a.after_cr)) {
        case ByteRole::line_end:
            return send_line(sender) ? 1 : 0;
        case ByteRole::ignored:
            return 1;
        case ByteRole::payload:
            break;
    }
    // The file was checked before the wake-up; this guards the buffer should it have changed.
    if (a.length >= kMaxPayloadBytes) {
        warn(sender, overlong_line_message(a.line));
        return -1;
    }
    a.record[a.length++] = byte;
    a.sum += byte;
    return 1;
}

int fail_and_rewind(Sender& sender, int result = 0) {
    sender.lookup.seek_to_start();
    return result;
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

int wake_terminal(Sender& sender) {
    for (int attempt = 0; attempt < kWakeUpTries; ++attempt) {
        const std::string answer =
            exchange_text(sender, attempt == 0 ? kWakeUpFirst : kWakeUpAgain);
        if (answer == "ACK" || answer == "ack") return 1;
        if (platform::stop_requested() || port_failed(sender)) return 0;
    }
    warn(sender, kNotReady);
    return 0;
}

int send_record(Sender& sender, std::size_t n) {
    for (int send = 0; send < kRecordSends; ++send) {
        const std::string answer = exchange(sender, sender.attempt.record, n);
        if (answer == "FULL") {
            sender.boxes.show_message(kFullCaption, kMemoryFull, common::BoxIcon::exclamation);
            return 0;
        }
        if (answer == "ACK") return 1;
        // A stop from outside ends the attempt with nothing more sent and nothing to report.
        if (platform::stop_requested() || port_failed(sender)) return 0;
    }
    warn(sender, kTransferError);
    return 0;
}

int send_lookup_file(Sender& sender) {
    start_attempt(sender);
    Attempt& a = sender.attempt;
    std::uint8_t block[kFileBlockBytes];
    // To the end, whatever size was reported: a file may grow while it is sent.
    for (std::size_t n; (n = sender.lookup.read(block, sizeof block)) > 0;) {
        a.bytes_read += n;
        for (std::size_t i = 0; i < n; ++i) {
            const int taken = take_byte(sender, block[i]);
            if (taken != 1) return fail_and_rewind(sender, taken);
        }
        keep_progress(sender, percent_read(a));
    }
    // A table cut short by a failed read must not be ended as if it were whole.
    if (sender.lookup.read_failed()) {
        warn(sender, kCannotReadFile);
        return fail_and_rewind(sender, -1);
    }
    // The last line without a line end.
    if (a.length > 0 && !send_line(sender)) return fail_and_rewind(sender);
    show_kept_progress(sender);
    sender.ui.set_progress(100);  // at once: the bar stands at 100 before the end marker goes
    std::memcpy(a.record, kEndMarker, std::strlen(kEndMarker));
    if (!send_record(sender, std::strlen(kEndMarker))) return fail_and_rewind(sender);
    return 1;
}

int send_attempt(Sender& sender) {
    const std::string refused = convert_lookup_file(sender);
    if (!refused.empty()) {
        warn(sender, refused);
        return -1;
    }
    const int overlong = first_overlong_line(sender.lookup);
    if (overlong > 0) {
        warn(sender, overlong_line_message(overlong));
        return -1;
    }
    if (sender.lookup.read_failed()) {
        warn(sender, kCannotReadFile);
        return -1;
    }
    if (!wake_terminal(sender)) return 0;
    sender.ui.open_progress_window();
    const int result = send_lookup_file(sender);
    show_kept_progress(sender);
    sender.ui.close_progress_window();
    if (result == 1) warn(sender, kTransferDone);
    return result;
}

}  // namespace lumbra

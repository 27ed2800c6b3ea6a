// The reader's run: dialog or command line, then one transfer or the polling window.
#include "reader/run_reader.h"

#include "platform/file.h"
#include "platform/stop_signals.h"
#include "reader/output_file.h"
#include "reader/receive_records.h"
#include "reader/serial_port.h"
#include "reader/settings_file.h"

namespace ravelo {

namespace {

const char* const kDoneQuestion = "Hotovo : %d záznamů přijato.\nZobrazit přijatá data?";
const char* const kNothingReceived = "žádná data nepřijata!";

std::string done_question(int count) {
    std::string text = kDoneQuestion;
    text.replace(text.find("%d"), 2, std::to_string(count));
    return text;
}

// Closes the output. A file that holds acknowledged records is kept whatever the outcome: the
// terminal has handed those records over and holds them no more. Only the very file this
// transfer made or emptied is deleted: not a device or a pipe the user chose to write to, nor
// a file that another program has put at that path since.
void tidy_output_file(Reader& reader, const TransferResult& result) {
    const platform::FileIdentity made = reader.output.identity();
    reader.output.close();
    if (!reader.output_open) return;
    if (result.stored == 0 && reader.settings.file_mode != kAppend) {
        platform::remove_made_file(reader.output_path, made);
    }
    reader.output_open = false;
}

// A failure has been reported where it happened.
void report_result(Reader& reader, const TransferResult& result) {
    if (result.end == TransferResult::End::failed) return;
    if (result.stored > 0) {
        if (reader.boxes.ask_yes_no(kReceiveCaption, done_question(result.stored))) {
            reader.ui.open_in_viewer(reader.output_path);
        }
    } else {
        reader.boxes.show_message(kReceiveCaption, kNothingReceived);
    }
}

}  // namespace

int run_transfer(Reader& reader) {
    const platform::StopSignalScope stop_signals;
    reader.stored_records = 0;
    if (open_serial_port(reader) != common::LineOpen::opened) return 0;
    const TransferResult result = receive_records(reader);
    reader.port.reset();
    tidy_output_file(reader, result);
    if (result.received()) ++reader.batches_received;
    // A stop from outside ends the program; nobody is left to answer.
    if (reader.settings.show_received && !platform::stop_requested()) {
        report_result(reader, result);
    }
    return result.count_or_failure();
}

int run_reader(Reader& reader) {
    if (!reader.command_line_mode && reader.settings.always_ask) {
        if (reader.ui.run_properties_dialog(reader) == common::DialogEnd::cancelled) return 0;
        std::string reason;
        if (!save_settings(reader, &reason))
            reader.ui.settings_not_saved(reader.settings_path, reason);
    } else {
        reader.output_path = build_output_path(reader.settings);
    }
    if (reader.settings.online)
        return reader.ui.run_polling_window(reader) == PollingEnd::closed ? 0 : 1;
    // A transfer that failed part-way is a failure for the caller too, not a success.
    return run_transfer(reader) > 0 ? 1 : 0;
}

}  // namespace ravelo

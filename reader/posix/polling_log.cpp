// The polling loop of a service: waits only for stop signals and tells the journal what happened.
#include "reader/posix/polling_log.h"

#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "common/port_labels.h"
#include "common/posix/terminal_io.h"
#include "platform/posix/port_names.h"
#include "platform/posix/stop_wake.h"
#include "platform/printable_text.h"
#include "platform/stop_signals.h"
#include "reader/polling.h"
#include "reader/posix/polling_status.h"
#include "reader/run_reader.h"

namespace ravelo {

namespace {

std::string date_time(const platform::LocalTime& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year % 10000, t.month % 100,
                  t.day % 100, t.hour % 100, t.minute % 100, t.second % 100);
    return text;
}

class PollingLog {
  public:
    explicit PollingLog(Reader& reader)
        : reader_(reader), port_(common::port_name(reader.settings.port_index)) {}

    void started() {
        const int index = reader_.settings.port_index;
        const std::string device =
            index < 0 ? std::string() : platform::device_for_port(static_cast<unsigned>(index) + 1);
        write(" (" + platform::printable(device) + "): online příjem, interval dotazů " +
              std::to_string(poll_period_ms(reader_.settings) / 1000) + " s");
    }

    void transfer_ended(int result, bool stopped, const std::string& reasons) {
        if (stopped) {
            write(stored() + "přenos přerušen signálem " + std::to_string(platform::stop_signal()));
        } else if (result > 0) {
            write(": " + file() + ", " + records_text(result));
        } else if (result < 0) {
            write(stored() + "přenos selhal" + (reasons.empty() ? "" : ": " + reasons));
        } else if (!reasons.empty() && reasons != repeated_) {
            write(": " + reasons);
            repeated_ = reasons;  // a port left unplugged overnight says so once
            return;
        }
        if (result != 0) repeated_.clear();
    }

    void ended(int stop_signal) {
        write(stop_signal ? ": příjem ukončen signálem " + std::to_string(stop_signal)
                          : ": příjem ukončen");
    }

  private:
    // The records a failed transfer kept, and where.
    std::string stored() const {
        if (reader_.stored_records == 0) return ": ";
        return ": " + file() + ", " + records_text(reader_.stored_records) + "; ";
    }

    // A journal line is one line, whatever bytes the name holds.
    std::string file() const { return platform::printable(reader_.output_path); }

    void write(const std::string& event) {
        common::write_all(STDOUT_FILENO,
                          date_time(reader_.clock.local_time()) + " " + port_ + event + "\n");
    }

    Reader& reader_;
    std::string port_;
    std::string repeated_;
};

// Waits for the period or a stop signal; nothing else can stop a service.
class SignalWaiter : public PollWaiter {
  public:
    explicit SignalWaiter(platform::Clock& clock) : clock_(clock) {}

    bool wait_for_stop(std::uint32_t limit_ms) override {
        const std::uint32_t start = clock_.tick_ms();
        for (;;) {
            if (platform::stop_requested()) {
                stop_signal_ = platform::stop_signal();
                platform::clear_stop_request();
                return true;
            }
            const std::uint32_t passed = platform::elapsed_since(clock_, start);
            if (passed >= limit_ms) return false;
            pollfd wake{platform::stop_wake_fd(), POLLIN, 0};
            ::poll(&wake, 1, static_cast<int>(limit_ms - passed));
        }
    }

    // The signal that stopped polling between transfers; 0 when none did.
    int stop_signal() const { return stop_signal_; }

  private:
    platform::Clock& clock_;
    int stop_signal_ = 0;
};

}  // namespace

PollingEnd run_polling_log(Reader& reader, ReaderBoxes& boxes, bool* stopped_by_user) {
    const platform::StopSignalScope stop_signals;
    boxes.divert_to_log();
    PollingLog log(reader);
    log.started();
    SignalWaiter waiter(reader.clock);
    const PollingEnd result = run_polling(reader.settings, waiter, [&] {
        const int transferred = run_transfer(reader);
        // Taken before the line goes out: a stop that comes once the line is read is one
        // between transfers.
        const bool stopped = platform::stop_requested();
        log.transfer_ended(transferred, stopped, boxes.take_reasons());
        return stopped ? -1 : transferred;
    });
    log.ended(waiter.stop_signal() ? waiter.stop_signal() : platform::stop_signal());
    if (stopped_by_user) *stopped_by_user = waiter.stop_signal() != 0;
    return result;
}

}  // namespace ravelo

// Parses the simulator's command line into the peers' configurations.
#include "tools/velmora-sim/options.h"

#include <functional>
#include <map>

namespace sim {

namespace {

bool parse_number(const std::string& text, std::size_t* value) {
    if (text.empty() || text.size() > 9) return false;
    std::size_t v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + static_cast<std::size_t>(c - '0');
    }
    *value = v;
    return true;
}

// "K" or "K:N"; N stays as given when absent.
bool parse_pair(const std::string& text, std::size_t* k, std::size_t* n) {
    const auto colon = text.find(':');
    if (colon == std::string::npos) return parse_number(text, k);
    return parse_number(text.substr(0, colon), k) && parse_number(text.substr(colon + 1), n);
}

bool parse_role(const std::string& word, Role* role) {
    static const std::map<std::string, Role> kRoles{{"source", Role::source},
                                                    {"lookup", Role::lookup},
                                                    {"echo", Role::echo},
                                                    {"replay", Role::replay}};
    auto it = kRoles.find(word);
    if (it == kRoles.end()) return false;
    *role = it->second;
    return true;
}

using Handler = std::function<bool(Options&, const std::string&)>;

Handler number_into(std::function<void(Options&, std::size_t)> set) {
    return [set](Options& o, const std::string& v) {
        std::size_t n = 0;
        if (!parse_number(v, &n)) return false;
        set(o, n);
        return true;
    };
}

Handler text_into(std::function<void(Options&, const std::string&)> set) {
    return [set](Options& o, const std::string& v) {
        set(o, v);
        return !v.empty();
    };
}

const std::map<std::string, Handler>& valued_options() {
    static const std::map<std::string, Handler> kOptions{
        {"--device", text_into([](Options& o, const std::string& v) { o.device = v; })},
        {"--baud",
         number_into([](Options& o, std::size_t v) { o.baud = static_cast<std::uint32_t>(v); })},
        {"--link", text_into([](Options& o, const std::string& v) { o.link = v; })},
        {"--transcript", text_into([](Options& o, const std::string& v) { o.transcript = v; })},
        {"--batches", number_into([](Options& o, std::size_t v) { o.batches = v; })},
        {"--delay", number_into([](Options& o, std::size_t v) {
             o.delay_ms = static_cast<std::uint32_t>(v);
         })},
        {"--records", text_into([](Options& o, const std::string& v) { o.records_file = v; })},
        {"--generate", number_into([](Options& o, std::size_t v) { o.generate_count = v; })},
        {"--size", number_into([](Options& o, std::size_t v) { o.generate_size = v; })},
        {"--wait", number_into([](Options& o, std::size_t v) {
             o.source.wait_ms = static_cast<std::uint32_t>(v);
         })},
        {"--bad-checksum",
         number_into([](Options& o, std::size_t v) { o.source.faults.bad_checksum.insert(v); })},
        {"--skip-seq",
         number_into([](Options& o, std::size_t v) { o.source.faults.skip_sequence.insert(v); })},
        {"--repeat-after-ack", number_into([](Options& o, std::size_t v) {
             o.source.faults.repeat_after_ack.insert(v);
         })},
        {"--oversize",
         number_into([](Options& o, std::size_t v) { o.source.faults.oversize.insert(v); })},
        {"--noise",
         number_into([](Options& o, std::size_t v) { o.source.faults.noise.insert(v); })},
        {"--silent-from",
         number_into([](Options& o, std::size_t v) { o.source.faults.silent_from = v; })},
        {"--fault-batch",
         number_into([](Options& o, std::size_t v) { o.source.faults.only_batch = v; })},
        {"--pause",
         [](Options& o, const std::string& v) {
             std::size_t k = 0, ms = 0;
             if (v.find(':') == std::string::npos || !parse_pair(v, &k, &ms)) return false;
             o.source.faults.pause_before[k] = static_cast<std::uint32_t>(ms);
             return true;
         }},
        {"--wrong-answer", text_into([](Options& o, const std::string& v) {
             o.source.faults.request = SourceFaults::Request::wrong;
             o.source.faults.wrong_answer = v;
         })},
        {"--late-answer", number_into([](Options& o, std::size_t v) {
             o.source.faults.request = SourceFaults::Request::late;
             o.source.faults.late_ms = static_cast<std::uint32_t>(v);
         })},
        {"--request-faults",
         number_into([](Options& o, std::size_t v) { o.source.faults.request_fault_count = v; })},
        {"--out", text_into([](Options& o, const std::string& v) { o.out_file = v; })},
        {"--memory", number_into([](Options& o, std::size_t v) { o.lookup.memory_bytes = v; })},
        {"--miss-ack",
         [](Options& o, const std::string& v) {
             std::size_t k = 0, times = 1;
             if (!parse_pair(v, &k, &times)) return false;
             o.lookup.faults.miss_ack[k] = times;
             return true;
         }},
        {"--garbage-at",
         number_into([](Options& o, std::size_t v) { o.lookup.faults.garbage_at.insert(v); })},
    };
    return kOptions;
}

const std::map<std::string, std::function<void(Options&)>>& flags() {
    static const std::map<std::string, std::function<void(Options&)>> kFlags{
        {"--help", [](Options& o) { o.help = true; }},
        {"-h", [](Options& o) { o.help = true; }},
        {"--version", [](Options& o) { o.version = true; }},
        {"--no-answer",
         [](Options& o) { o.source.faults.request = SourceFaults::Request::silent; }},
        {"--ack-lowercase", [](Options& o) { o.lookup.faults.ack_lowercase = true; }},
        {"--asleep", [](Options& o) { o.lookup.faults.asleep = true; }},
        {"--garbage", [](Options& o) { o.lookup.faults.garbage = true; }},
        {"--silent-on-bad", [](Options& o) { o.lookup.faults.silent_on_bad_checksum = true; }},
        {"--keep-time", [](Options& o) { o.timing = Timing::keep; }},
        {"--fast", [](Options& o) { o.timing = Timing::fast; }},
    };
    return kFlags;
}

bool valid_baud(std::uint32_t baud) {
    for (std::uint32_t b : {115200u, 57600u, 38400u, 19200u, 9600u}) {
        if (b == baud) return true;
    }
    return false;
}

// Numbers that parse but name something the protocol or the run cannot have.
bool numbers_fit(const Options& o, std::string* error) {
    if (o.generate_size > kMaxRecordData) {
        *error = "--size: a record carries at most " + std::to_string(kMaxRecordData) +
                 " data bytes (--oversize K makes one too long on purpose)";
        return false;
    }
    if (o.batches && *o.batches == 0) {
        *error = "--batches must be at least 1";
        return false;
    }
    for (const auto& [record, sends] : o.lookup.faults.miss_ack) {
        if (sends == 0) {
            *error = "--miss-ack " + std::to_string(record) + ":0 misses nothing; N is at least 1";
            return false;
        }
    }
    return true;
}

}  // namespace

bool parse_options(const std::vector<std::string>& args, Options* options, std::string* error) {
    Options o;
    bool have_role = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (auto flag = flags().find(arg); flag != flags().end()) {
            flag->second(o);
            continue;
        }
        if (auto opt = valued_options().find(arg); opt != valued_options().end()) {
            if (i + 1 >= args.size()) {
                *error = arg + " needs a value";
                return false;
            }
            if (!opt->second(o, args[++i])) {
                *error = "bad value for " + arg + ": \"" + args[i] + "\"";
                return false;
            }
            continue;
        }
        if (!have_role && parse_role(arg, &o.role)) {
            have_role = true;
            continue;
        }
        if (have_role && o.role == Role::replay && o.trace_file.empty()) {
            o.trace_file = arg;
            continue;
        }
        *error = "unknown argument \"" + arg + "\"";
        return false;
    }
    if (!have_role && !o.help && !o.version) {
        *error = "say which terminal to play: source, lookup, echo or replay";
        return false;
    }
    if (o.role == Role::replay && o.trace_file.empty() && !o.help && !o.version) {
        *error = "replay needs the trace file to play";
        return false;
    }
    if (!valid_baud(o.baud)) {
        *error = "--baud must be one of 115200, 57600, 38400, 19200, 9600";
        return false;
    }
    if (!numbers_fit(o, error)) return false;
    o.source.response_delay_ms = o.delay_ms.value_or(1);
    o.lookup.response_delay_ms = o.delay_ms.value_or(1);
    *options = std::move(o);
    return true;
}

std::string usage_text() {
    return R"(velmora-sim: a simulated Velmora terminal on a pseudo-terminal or a serial device.

Usage:
  velmora-sim source [options]   hand over records, as the reader (Ravelo) expects
  velmora-sim lookup [options]   take a lookup table, as the sender (Lumbra) expects
  velmora-sim echo [options]     send every byte straight back
  velmora-sim replay TRACE [options]
                                 play the terminal's side of a trace again
  velmora-sim --help | --version

The first line on standard output is the path of the line being served (the new
pseudo-terminal's slave, or the --device path). Point the program at it, e.g.
  VELMORA_COM1=/dev/pts/7 ravelo
The simulator runs until killed (SIGTERM, SIGINT) or until --batches are done.

Line:
  --device PATH        serve this serial device instead of a new pseudo-terminal
  --baud N             speed of --device: 115200 (default), 57600, 38400, 19200, 9600
  --link PATH          make PATH a symbolic link to the pseudo-terminal (an old link is
                       replaced; removed at exit), e.g. $WINEPREFIX/dosdevices/com1
  --transcript FILE    write every byte, its direction and time in ms, one hex line per burst
  --batches N          exit after N batches (source) or N loads (lookup) have ended
  --delay MS           reaction time to each message (default 1; echo 0)

Record source (records are numbered from 0 in each batch):
  --records FILE       records from a file, one per line (line ends removed)
  --generate COUNT     generated records (default 10) of --size N bytes (default 20,
                       at most 251); a --records line may hold at most 251 bytes too
  --wait MS            resend an unanswered record after MS (default 1000)
  Faults by record number K; all but --silent-from spoil only the first send:
  --bad-checksum K     wrong low checksum byte
  --skip-seq K         the sequence number after the right one
  --repeat-after-ack K the record once more after its ACK, as if the ACK was lost
  --oversize K         its data stretched to 300 bytes
  --noise K            a few random bytes (never CR) just before the record
  --pause K:MS         wait MS more before sending record K
  --silent-from K      from record K on, silence: no bytes and no answers at all
  --fault-batch B      apply the record faults in batch B only (0-based; default all)
  Faults in the answer to "READ":
  --no-answer          no answer
  --wrong-answer TEXT  TEXT and CR instead of ACK (e.g. NAK or XYZ)
  --late-answer MS     ACK only after MS
  --request-faults N   only the first N requests get that fault (default all)

Lookup target:
  --out FILE           write each finished load there, one line each, ended by CR LF
  --memory BYTES       answer FULL once the lines (each with CR LF) would exceed BYTES
  --ack-lowercase      answer the wake-up with "ack"
  --asleep             never answer the wake-up
  --miss-ack K[:N]     no answer to the first N sends (default 1) of record K
  --garbage-at K       garbage in answer to the first send of record K
  --garbage            every answer is garbage
  --silent-on-bad      no answer to a bad checksum (default: NAK)

Replay of a trace written by VELMORA_TRACE or --transcript (a customer's trace):
  For each burst the terminal sent, the bytes the program sent before it are awaited
  and compared, then the burst goes after its recorded gap. Lines starting with '#'
  and blank lines are skipped; a trace of several runs (its times start again) plays
  run after run, each run's first bytes awaited for up to 2 minutes while the program
  is started, the others up to 2 s later than recorded. At the first difference it
  prints where in the trace, the lines before it, the bytes expected and the bytes
  seen, in the trace's own lines, and exits with 1; a trace played to its end exits 0.
  --keep-time          keep every recorded gap exactly
  --fast               drop every gap: send as soon as the program's bytes are in
  (default: keep only gaps over 100 ms, so the program's own time-outs still happen)

Exit status: 0 when stopped or done (replay: the trace played to its end), 1 when the
line failed while serving or a replay found a difference, 2 for any bad option (an
unknown one, a bad value, a file, trace or device that cannot be used).

Examples:
  velmora-sim source --generate 25 --size 40 --bad-checksum 3 --batches 1
  velmora-sim source --records batch.txt --link /tmp/com1 --transcript wire.txt
  velmora-sim lookup --out loaded.txt --memory 4096 --miss-ack 2
  velmora-sim echo --device /dev/ttyUSB0 --baud 9600
  velmora-sim replay velmora-trace.txt --link /tmp/com1
)";
}

}  // namespace sim

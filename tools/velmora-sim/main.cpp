// velmora-sim: plays the Velmora terminal on a pseudo-terminal or serial device, in real time.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "common/program_help.h"
#include "tools/velmora-sim/echo.h"
#include "tools/velmora-sim/lookup_target.h"
#include "tools/velmora-sim/options.h"
#include "tools/velmora-sim/pty_line.h"
#include "tools/velmora-sim/pty_serve.h"
#include "tools/velmora-sim/record_source.h"
#include "tools/velmora-sim/replay.h"

namespace {

constexpr int kLineFailed = 1;
constexpr int kBadOption = 2;

// The chosen peer, and when it has done what was asked of it.
struct Terminal {
    std::unique_ptr<simline::LinePeer> peer;
    sim::Transcript* transcript = nullptr;
    std::function<bool()> finished;
    sim::Replay* replay = nullptr;
};

bool records_fit(const sim::Records& records, const std::string& file, std::string* error) {
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (records[i].size() > sim::kMaxRecordData) {
            *error = "line " + std::to_string(i + 1) + " of \"" + file + "\" has " +
                     std::to_string(records[i].size()) + " bytes; a record carries at most " +
                     std::to_string(sim::kMaxRecordData);
            return false;
        }
    }
    return true;
}

bool make_source(sim::Options& o, Terminal* t, std::string* error) {
    sim::Records records;
    if (!o.records_file.empty()) {
        if (!sim::load_records(o.records_file, &records)) {
            *error = "cannot read the records file \"" + o.records_file + "\"";
            return false;
        }
        if (!records_fit(records, o.records_file, error)) return false;
    } else {
        records = sim::generate_records(o.generate_count, o.generate_size);
    }
    o.source.batches = {records};
    o.source.repeat_batches = true;
    auto source = std::make_unique<sim::RecordSource>(o.source);
    sim::RecordSource* s = source.get();
    t->transcript = &s->transcript();
    const auto batches = o.batches;
    t->finished = [s, batches] { return batches && s->batches_done() >= *batches && s->quiet(); };
    t->peer = std::move(source);
    return true;
}

void make_lookup(const sim::Options& o, Terminal* t) {
    auto target = std::make_unique<sim::LookupTarget>(o.lookup);
    sim::LookupTarget* l = target.get();
    const std::string out = o.out_file;
    l->set_on_load([out](const sim::LookupTarget::Lines& lines) {
        std::cerr << "velmora-sim: load of " << lines.size() << " lines received\n";
        if (!out.empty() && !sim::write_lines(out, lines)) {
            std::cerr << "velmora-sim: cannot write " << out << "\n";
        }
    });
    t->transcript = &l->transcript();
    const auto batches = o.batches;
    t->finished = [l, batches] { return batches && l->loads().size() >= *batches && l->quiet(); };
    t->peer = std::move(target);
}

void make_echo(const sim::Options& o, Terminal* t) {
    auto echo = std::make_unique<sim::Echo>(o.delay_ms.value_or(0));
    t->transcript = &echo->transcript();
    t->finished = [] { return false; };
    t->peer = std::move(echo);
}

bool make_replay(const sim::Options& o, Terminal* t, std::string* error) {
    std::ifstream file(o.trace_file, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    sim::ReplayConfig config;
    config.timing = o.timing;
    if (!file || !sim::parse_trace(text, &config.trace, error)) {
        *error = "cannot replay \"" + o.trace_file + "\"" + (file ? ": " + *error : "");
        return false;
    }
    auto replay = std::make_unique<sim::Replay>(std::move(config));
    sim::Replay* r = replay.get();
    t->transcript = &r->transcript();
    t->finished = [r] { return r->done() || r->failed(); };
    t->replay = r;
    t->peer = std::move(replay);
    return true;
}

// The verdict goes to standard output after the line's path, where a caller already reads.
int replay_verdict(const sim::Replay& replay, const std::string& trace_file) {
    if (replay.failed()) {
        std::cout << "velmora-sim: first difference from \"" << trace_file << "\" at "
                  << replay.difference() << std::flush;
        return kLineFailed;
    }
    if (!replay.done()) return 0;  // stopped by a signal
    std::cout << "velmora-sim: the trace \"" << trace_file << "\" played to its end ("
              << replay.runs() << (replay.runs() == 1 ? " run" : " runs") << ")" << std::endl;
    return 0;
}

int fail(const std::string& message, int status) {
    std::cerr << "velmora-sim: " << message << "\n";
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    sim::Options options;
    std::string error;
    if (!sim::parse_options(std::vector<std::string>(argv + 1, argv + argc), &options, &error)) {
        return fail(error + " (velmora-sim --help explains the options)", kBadOption);
    }
    if (options.help) {
        std::cout << sim::usage_text();
        return 0;
    }
    if (options.version) {
        std::cout << common::version_line("velmora-sim") << "\n";
        return 0;
    }
    Terminal terminal;
    if (options.role == sim::Role::source && !make_source(options, &terminal, &error)) {
        return fail(error, kBadOption);
    }
    if (options.role == sim::Role::lookup) make_lookup(options, &terminal);
    if (options.role == sim::Role::echo) make_echo(options, &terminal);
    if (options.role == sim::Role::replay && !make_replay(options, &terminal, &error)) {
        return fail(error, kBadOption);
    }

    std::ofstream transcript_file;
    if (!options.transcript.empty()) {
        transcript_file.open(options.transcript, std::ios::trunc);
        if (!transcript_file) return fail("cannot write " + options.transcript, kBadOption);
        terminal.transcript->set_line_sink(
            [&transcript_file](const std::string& line) { transcript_file << line << std::endl; });
    }

    sim::catch_stop_signals();
    sim::ServedLine line;
    const bool opened = options.device.empty()
                            ? sim::open_pseudo_terminal(&line, &error)
                            : sim::open_device(options.device, options.baud, &line, &error);
    // A device or link that cannot be used is a bad option like any other.
    if (!opened) return fail(error, kBadOption);
    if (!options.link.empty() && !sim::make_link(&line, options.link, &error)) {
        sim::close_line(&line);
        return fail(error, kBadOption);
    }
    std::cout << line.path << std::endl;

    const bool served = sim::serve(line, *terminal.peer, terminal.finished);
    sim::close_line(&line);
    if (!served) return fail("the line failed", kLineFailed);
    return terminal.replay ? replay_verdict(*terminal.replay, options.trace_file) : 0;
}

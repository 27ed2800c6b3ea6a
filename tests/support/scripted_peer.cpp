// The scripted terminal of the wire-transcript tests.
#include "tests/support/scripted_peer.h"

#include <cstdio>

#include "tools/velmora-sim/framing.h"

namespace testing_support {

ScriptedPeer& ScriptedPeer::expect(const std::string& bytes) {
    steps_.push_back({Step::expecting, bytes, 0, nullptr});
    return *this;
}

ScriptedPeer& ScriptedPeer::send(const std::string& bytes, std::uint64_t after_ms) {
    steps_.push_back({Step::sending, bytes, after_ms, nullptr});
    return *this;
}

ScriptedPeer& ScriptedPeer::then(std::function<void()> action) {
    steps_.push_back({Step::acting, {}, 0, std::move(action)});
    return *this;
}

void ScriptedPeer::on_receive(const std::uint8_t* data, std::size_t n, std::uint64_t now) {
    const std::string bytes(reinterpret_cast<const char*>(data), n);
    heard_.push_back({now, bytes});
    unmatched_ += bytes;
    run_steps(now);
}

void ScriptedPeer::advance_to(std::uint64_t now) {
    run_steps(now);
}

std::optional<std::uint64_t> ScriptedPeer::next_event_time() const {
    if (steps_.empty() || steps_.front().kind != Step::sending) return std::nullopt;
    return due_time();
}

std::size_t ScriptedPeer::take(std::uint8_t* buffer, std::size_t n) {
    std::size_t k = 0;
    while (k < n && !outgoing_.empty()) {
        buffer[k++] = outgoing_.front();
        outgoing_.pop_front();
    }
    return k;
}

void ScriptedPeer::run_steps(std::uint64_t now) {
    while (!steps_.empty()) {
        Step& step = steps_.front();
        std::uint64_t done_at = now;
        if (step.kind == Step::expecting) {
            if (unmatched_.size() < step.bytes.size()) return;
            const std::string got = unmatched_.substr(0, step.bytes.size());
            if (got != step.bytes) {
                mismatches_.push_back("expected " + printable(step.bytes) + ", heard " +
                                      printable(got));
            }
            unmatched_.erase(0, step.bytes.size());
        } else if (step.kind == Step::sending) {
            if (due_time() > now) return;
            done_at = due_time();
            outgoing_.insert(outgoing_.end(), step.bytes.begin(), step.bytes.end());
        } else {
            step.run();
        }
        steps_.pop_front();
        step_started_ = done_at;
    }
}

std::string bytes_of(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out.push_back(static_cast<char>(v));
    return out;
}

std::string make_record(int sequence, const std::string& data) {
    return sim::to_text(
        sim::frame_record(static_cast<std::uint8_t>(sequence), sim::to_bytes(data)));
}

std::string printable(const std::string& bytes) {
    std::string out;
    for (unsigned char c : bytes) {
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out;
}

void PrintTo(const Heard& heard, std::ostream* out) {
    *out << heard.time << " ms \"" << printable(heard.bytes) << "\"";
}

}  // namespace testing_support

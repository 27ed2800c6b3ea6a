// Checksums and record framing of both terminal protocols.
#include "tools/velmora-sim/framing.h"

namespace sim {

Bytes to_bytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

std::string to_text(const Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

std::uint8_t escape_checksum_byte(std::uint8_t byte) {
    return byte == kCr ? 0x0E : byte;
}

std::uint16_t reader_checksum(std::uint8_t sequence, const Bytes& data) {
    std::uint16_t sum = sequence;
    for (std::uint8_t b : data) sum = static_cast<std::uint16_t>(sum + b);
    return sum;
}

Bytes frame_record(std::uint8_t sequence, const Bytes& data) {
    const std::uint16_t sum = reader_checksum(sequence, data);
    Bytes out;
    out.reserve(data.size() + 4);
    out.push_back(sequence);
    out.insert(out.end(), data.begin(), data.end());
    out.push_back(escape_checksum_byte(static_cast<std::uint8_t>(sum & 0xFF)));
    out.push_back(escape_checksum_byte(static_cast<std::uint8_t>(sum >> 8)));
    out.push_back(kCr);
    return out;
}

std::uint16_t lookup_checksum(const Bytes& payload) {
    std::uint16_t sum = 0;
    for (std::uint8_t b : payload) sum = static_cast<std::uint16_t>(sum + b);
    return sum;
}

Bytes frame_lookup_record(const Bytes& payload) {
    const std::uint16_t sum = lookup_checksum(payload);
    Bytes out(payload);
    out.push_back(escape_checksum_byte(static_cast<std::uint8_t>(sum >> 8)));
    out.push_back(escape_checksum_byte(static_cast<std::uint8_t>(sum & 0xFF)));
    out.push_back(kCr);
    return out;
}

bool check_lookup_record(const Bytes& message, Bytes* payload) {
    if (message.size() < 2) return false;
    Bytes body(message.begin(), message.end() - 2);
    const std::uint16_t sum = lookup_checksum(body);
    if (message[message.size() - 2] != escape_checksum_byte(static_cast<std::uint8_t>(sum >> 8)) ||
        message[message.size() - 1] !=
            escape_checksum_byte(static_cast<std::uint8_t>(sum & 0xFF))) {
        return false;
    }
    *payload = std::move(body);
    return true;
}

}  // namespace sim

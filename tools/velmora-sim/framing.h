// Checksums and record framing of both terminal protocols, as the terminal builds and checks them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sim {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t kCr = 0x0D;

Bytes to_bytes(const std::string& text);
std::string to_text(const Bytes& bytes);

// The fixed messages of both protocols, each ended by its CR.
inline const Bytes kAck = to_bytes("ACK\r");
inline const Bytes kNak = to_bytes("NAK\r");
inline const Bytes kOver = to_bytes("OVER\r");

// A checksum byte equal to CR goes on the wire as 0x0E, so CR only ever ends a message.
std::uint8_t escape_checksum_byte(std::uint8_t byte);

// Reader protocol: sum of the sequence byte and the data bytes, modulo 65536.
std::uint16_t reader_checksum(std::uint8_t sequence, const Bytes& data);
// Sequence byte, data, checksum low byte, high byte, CR.
Bytes frame_record(std::uint8_t sequence, const Bytes& data);

// Lookup protocol: sum of the payload bytes.
std::uint16_t lookup_checksum(const Bytes& payload);
// Payload, checksum high byte, low byte, CR.
Bytes frame_lookup_record(const Bytes& payload);
// Splits a received lookup record (its CR already removed) into its payload; false when it is
// too short to carry a checksum or the checksum does not match.
bool check_lookup_record(const Bytes& message, Bytes* payload);

}  // namespace sim

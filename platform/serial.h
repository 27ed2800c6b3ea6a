// The serial line as both programs use it: open by port number with its settings, poll, write.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

// How long a write may take: a fixed allowance plus a time for every byte it carries.
struct WriteLimit {
    std::uint32_t per_byte_ms = 5;
    std::uint32_t constant_ms = 50;
};

// Everything the line is set to when it opens: 8 data bits, no parity, one stop bit, no flow
// control of any kind and DTR and RTS off, at `baud`; reads always return at once.
struct LineSettings {
    std::uint32_t baud = 0;  // 0 stands for a speed outside the programs' list: always refused
    // Bytes the driver should be able to hold each way; where the system sizes its own buffers
    // (POSIX) they are a wish it need not follow.
    std::uint32_t in_buffer = 0;
    std::uint32_t out_buffer = 0;
    WriteLimit write_limit;
};

class SerialLine {
  public:
    virtual ~SerialLine() = default;  // closes the port

    // Returns at once with what is buffered, up to n bytes (possibly none).
    virtual std::size_t read(std::uint8_t* buffer, std::size_t n) = 0;
    // Returns how many bytes went out within the write limit.
    virtual std::size_t write(const std::uint8_t* data, std::size_t n) = 0;
    // Blocks without using the processor until a byte can be read or limit_ms has passed.
    // Returns true when a byte is there.
    virtual bool wait_for_input(std::uint32_t limit_ms) = 0;
    virtual void discard_input() = 0;
    // True once a read or write has failed outright (an adapter pulled out), as against finding
    // nothing: the answer waits then end at once instead of sleeping out their limits.
    virtual bool failed() const { return false; }
    // Why the line failed, for the user: the device and the system's reason (Linux). Empty where
    // the port's own name is all there is to say (Windows) or while the line works.
    virtual std::string failure_detail() const { return {}; }
};

// busy: open elsewhere; refused: opened, but a setting did not take, and closed again.
enum class OpenError { none, cannot_open, busy, refused };

struct OpenedLine {
    std::unique_ptr<SerialLine> line;  // set only when `error` is none
    OpenError error = OpenError::cannot_open;
    // cannot_open and busy: the device and the system's reason, and what to do, where there is
    // more to say than the port's own name (else empty). refused: the setting the port refused.
    std::string reason;
};

class SerialPorts {
  public:
    virtual ~SerialPorts() = default;
    // COM<port_number> (from 1), or the device the variable VELMORA_COM<port_number> names, with
    // `settings` applied. Exclusive: a port open elsewhere cannot be opened.
    virtual OpenedLine open(unsigned port_number, const LineSettings& settings) = 0;
};

std::unique_ptr<SerialPorts> make_system_serial_ports();

}  // namespace platform

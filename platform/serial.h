// The serial line as both programs use it: open by port name, configure, poll, write.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

// Write time limit: multiplier per byte plus a constant. Reads always return at once.
struct WriteTimeouts {
    std::uint32_t per_byte_ms = 5;
    std::uint32_t constant_ms = 50;
};

class SerialLine {
  public:
    virtual ~SerialLine() = default;  // closes the port

    virtual bool set_queues(std::uint32_t in_bytes, std::uint32_t out_bytes) = 0;
    // 8 data bits, no parity, one stop bit, no flow control of any kind, DTR and RTS off.
    // On failure, *refused names the setting the port would not take.
    virtual bool configure(std::uint32_t baud, std::string* refused) = 0;
    virtual bool set_write_timeouts(const WriteTimeouts& timeouts) = 0;

    // Returns at once with what is buffered, up to n bytes (possibly none).
    virtual std::size_t read(std::uint8_t* buffer, std::size_t n) = 0;
    // Returns how many bytes went out within the write time limit.
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

enum class OpenError { none, cannot_open, busy };

class SerialPorts {
  public:
    virtual ~SerialPorts() = default;
    // "COM1".."COM9", or the device the variable VELMORA_COMn names for COMn. Exclusive: a port
    // open elsewhere cannot be opened.
    virtual std::unique_ptr<SerialLine> open(const std::string& port_name, OpenError* error) = 0;
    // Why the last open failed, for the user: the device and the system's reason, and what to do.
    // Empty where the port's own name is all there is to say.
    virtual std::string failure_detail() const { return {}; }
};

std::unique_ptr<SerialPorts> make_system_serial_ports();

}  // namespace platform

// The termios serial line against a pseudo-terminal and velmora-sim's echo: bytes, timings,
// exclusivity, restoration, and a reader's batch received through it.
#include <errno.h>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <thread>

#include "gtest/gtest.h"
#include "platform/clock.h"
#include "platform/file.h"
#include "platform/port_device.h"
#include "platform/posix/line_settings.h"
#include "platform/serial.h"
#include "reader/message_wait.h"
#include "reader/receive_records.h"
#include "reader/serial_port.h"
#include "tests/support/posix/e2e_rig.h"
#include "tests/support/posix/pty_pair.h"
#include "tests/support/recording_ui.h"

namespace {

using platform::OpenError;
using platform::SerialLine;
using test_support::PtyPair;
using Clock = std::chrono::steady_clock;
using Bytes = std::vector<std::uint8_t>;
using namespace testing_support;

long ms_since(Clock::time_point start) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

Bytes every_byte_value() {
    Bytes bytes(256);
    for (int i = 0; i < 256; ++i) bytes[i] = static_cast<std::uint8_t>(i);
    return bytes;
}

// Everything the line gives within limit_ms, through the polling the programs use.
Bytes receive(SerialLine& line, std::size_t n, std::uint32_t limit_ms) {
    Bytes got;
    for (auto start = Clock::now(); got.size() < n && ms_since(start) < limit_ms;) {
        if (!line.wait_for_input(50)) continue;
        std::uint8_t buffer[64];
        got.insert(got.end(), buffer, buffer + line.read(buffer, sizeof buffer));
    }
    return got;
}

TEST(PlatformSerialEcho, EveryByteValueComesBackThroughVelmoraSim) {
    E2eRig rig;
    const ScopedEnv com7("VELMORA_COM7", rig.start_terminal({"echo"}));
    platform::OpenedLine opened = platform::make_system_serial_ports()->open(7, {115200, 0, 0, {}});
    ASSERT_NE(opened.line, nullptr) << opened.reason;
    const Bytes sent = every_byte_value();
    ASSERT_EQ(opened.line->write(sent.data(), sent.size()), sent.size());
    EXPECT_EQ(receive(*opened.line, sent.size(), 3000), sent);
}

// errno of a plain open of the device by an unprivileged process (0 when it opened): root
// would pass the exclusive mode, so a test run as root opens as nobody.
int plain_open_error(const std::string& device) {
    ::chmod(device.c_str(), 0666);
    return child_status(start_child([&] {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) return 255;
        const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        return fd >= 0 ? 0 : errno;
    }));
}

// The modem lines of a device that has them, for drop_modem_lines to work on.
struct FakeModem {
    int lines = 0;
    int error = 0;  // errno of every request when set
};
FakeModem fake_modem;

int fake_modem_control(int, unsigned long request, int* lines) {
    if (fake_modem.error) {
        errno = fake_modem.error;
        return -1;
    }
    if (request == TIOCMBIC) fake_modem.lines &= ~*lines;
    if (request == TIOCMBIS) fake_modem.lines |= *lines;
    if (request == TIOCMSET) fake_modem.lines = *lines;
    if (request == TIOCMGET) *lines = fake_modem.lines;
    return 0;
}

TEST(PlatformModemLines, DtrAndRtsAreDroppedAndOnlyARealFailureIsNamed) {
    const struct {
        const char* name;
        int lines;
        int error;
        bool ok;
        int lines_after;
        const char* refused;
    } cases[] = {
        {"both raised", TIOCM_DTR | TIOCM_RTS | TIOCM_CTS, 0, true, TIOCM_CTS, ""},
        {"both down already", TIOCM_DSR, 0, true, TIOCM_DSR, ""},
        {"no modem lines (pseudo-terminal)", TIOCM_DTR, ENOTTY, true, TIOCM_DTR, ""},
        {"device error", TIOCM_DTR, EIO, false, TIOCM_DTR, "DTR and RTS off"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fake_modem = FakeModem{c.lines, c.error};
        std::string refused;
        EXPECT_EQ(platform::drop_modem_lines(3, &refused, fake_modem_control), c.ok);
        EXPECT_EQ(fake_modem.lines, c.lines_after);
        EXPECT_EQ(refused, c.refused);
    }
}

class PlatformSerial : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(pty_.ok()); }

    // The port `name` as the programs open it; error_ and reason_ say why not.
    std::unique_ptr<SerialLine> open_port(const std::string& name = "COM1",
                                          const platform::LineSettings& settings = {
                                              115200, 0, 0, {}}) {
        platform::OpenedLine opened = ports_->open(platform::com_port_number(name), settings);
        error_ = opened.error;
        reason_ = opened.reason;
        return std::move(opened.line);
    }
    termios slave_settings() {
        termios t{};
        EXPECT_EQ(::tcgetattr(pty_.slave(), &t), 0);
        return t;
    }

    PtyPair pty_;
    ScopedEnv com1_{"VELMORA_COM1", pty_.slave_path()};
    OpenError error_ = OpenError::none;
    std::string reason_;
    std::unique_ptr<platform::SerialPorts> ports_ = platform::make_system_serial_ports();
};

TEST_F(PlatformSerial, EveryByteValuePassesUnchangedBothWays) {
    pty_.set_slave_cooked();  // only the line's own settings may make the bytes pass
    auto line = open_port();
    ASSERT_TRUE(line) << reason_;
    const Bytes bytes = every_byte_value();
    EXPECT_EQ(line->write(bytes.data(), bytes.size()), bytes.size());
    EXPECT_EQ(pty_.read_master(512, 500), bytes);
    ASSERT_TRUE(pty_.write_master(bytes));
    EXPECT_EQ(receive(*line, 512, 500), bytes);
    EXPECT_TRUE(pty_.read_master(1, 50).empty()) << "the line echoed what it received";
}

TEST_F(PlatformSerial, EachSpeedIsSetAndAnUnknownOneIsNamed) {
    const std::pair<std::uint32_t, speed_t> speeds[] = {
        {115200, B115200}, {57600, B57600}, {38400, B38400}, {19200, B19200}, {9600, B9600}};
    for (const auto& [baud, constant] : speeds) {
        SCOPED_TRACE(baud);
        auto line = open_port("COM1", {baud, 0, 0, {}});
        ASSERT_TRUE(line) << reason_;
        const termios t = slave_settings();
        EXPECT_EQ(::cfgetospeed(&t), constant);
        EXPECT_EQ(t.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS), tcflag_t{CS8});
        EXPECT_EQ(t.c_iflag & (IXON | IXOFF | IXANY), 0u);
    }
    EXPECT_FALSE(open_port("COM1", {12345, 0, 0, {}}));
    EXPECT_EQ(error_, OpenError::refused);
    EXPECT_EQ(reason_, "speed 12345");
}

TEST_F(PlatformSerial, ReadReturnsAtOnceWithNothingBuffered) {
    auto line = open_port();
    ASSERT_TRUE(line) << reason_;
    std::uint8_t buffer[16];
    auto start = Clock::now();
    EXPECT_EQ(line->read(buffer, sizeof buffer), 0u);
    EXPECT_LT(std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count(),
              5000);
}

// A wait for input ends when a byte comes, after its limit without using the processor, or at
// once on a hung-up line (a terminal unplugged never comes back), which then says why.
TEST_F(PlatformSerial, WaitEndsOnAByteAtItsLimitOrAtOnceWhenHungUp) {
    auto line = open_port();
    ASSERT_TRUE(line) << reason_;
    const struct {
        const char* name;
        std::uint32_t limit;
        bool byte_at_150_ms, hang_up;
        long min_ms, max_ms;
    } cases[] = {{"a byte at 150 ms", 2000, true, false, 150, 200},
                 {"silent, 1 ms", 1, false, false, 1, 51},
                 {"silent, 30 ms", 30, false, false, 30, 80},
                 {"silent, 300 ms", 300, false, false, 300, 350},
                 {"silent, 2 s", 2000, false, false, 2000, 60000},
                 {"hung up", 500, false, true, 0, 50}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(line->failed());
        if (c.hang_up) pty_.close_master();
        std::thread terminal([&] {
            if (!c.byte_at_150_ms) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(150));
            pty_.write_master({0x06});
        });
        const double cpu_before = processor_seconds(RUSAGE_SELF);
        const auto start = Clock::now();
        EXPECT_EQ(line->wait_for_input(c.limit), c.byte_at_150_ms);
        const long elapsed = ms_since(start);
        const double cpu = processor_seconds(RUSAGE_SELF) - cpu_before;
        terminal.join();
        EXPECT_GE(elapsed, c.min_ms);
        EXPECT_LE(elapsed, c.max_ms);
        if (c.limit == 2000 && !c.byte_at_150_ms) {
            EXPECT_LT(cpu * 1000 / elapsed, 0.05);
        }
        EXPECT_EQ(receive(*line, 1, 50), c.byte_at_150_ms ? Bytes{0x06} : Bytes{});
    }
    EXPECT_TRUE(line->failed());
    EXPECT_EQ(line->failure_detail().rfind("COM1 = " + pty_.slave_path() + ": ", 0), 0u)
        << line->failure_detail();
    std::uint8_t buffer[4];
    EXPECT_EQ(line->read(buffer, sizeof buffer), 0u);
}

TEST_F(PlatformSerial, WriteGivesUpAfterItsTimeLimit) {
    auto line = open_port("COM1", {115200, 0, 0, {0, 100}});
    ASSERT_TRUE(line) << reason_;
    Bytes flood(1 << 20, 'x');  // far more than the unread line holds
    auto start = Clock::now();
    const std::size_t written = line->write(flood.data(), flood.size());
    const long elapsed = ms_since(start);
    EXPECT_GT(written, 0u);
    EXPECT_LT(written, flood.size());
    EXPECT_GE(elapsed, 100);
    EXPECT_LE(elapsed, 150);
    start = Clock::now();
    line.reset();  // closing a line that cannot drain must not hang
    EXPECT_LE(ms_since(start), 150);
}

TEST_F(PlatformSerial, DiscardDropsWhatArrived) {
    auto line = open_port();
    ASSERT_TRUE(line) << reason_;
    ASSERT_TRUE(pty_.write_master({'s', 't', 'a', 'l', 'e'}));
    ASSERT_TRUE(line->wait_for_input(500));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    line->discard_input();
    std::uint8_t buffer[8];
    EXPECT_EQ(line->read(buffer, sizeof buffer), 0u);
    ASSERT_TRUE(pty_.write_master({'n'}));
    EXPECT_EQ(receive(*line, 1, 500), Bytes{'n'});
}

// The line takes what the driver holds in one go: a message's CR must not swallow what
// follows it, and a discard must drop what was taken ahead as well.
TEST_F(PlatformSerial, BytesReadAheadStayForTheNextMessageUntilDiscarded) {
    auto line = open_port();
    ASSERT_TRUE(line) << reason_;
    auto clock = platform::make_system_clock();
    const ravelo::MessageRules rules{300, 255, true};
    ravelo::MessageBuffer buffer;
    ASSERT_TRUE(pty_.write_master({'A', 'C', 'K', '\r', 'O', 'V', 'E', 'R', '\r', 's', 't'}));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));  // all of it in the driver
    for (const char* message : {"ACK\r", "OVER\r"}) {
        ASSERT_EQ(ravelo::wait_for_message(*line, *clock, rules, buffer),
                  ravelo::WaitEnd::complete);
        EXPECT_TRUE(ravelo::buffer_equals(buffer, message));
    }
    line->discard_input();
    std::uint8_t rest[8];
    EXPECT_EQ(line->read(rest, sizeof rest), 0u);
    EXPECT_FALSE(line->wait_for_input(50));
    ASSERT_TRUE(pty_.write_master({'n'}));
    EXPECT_EQ(receive(*line, 1, 500), Bytes{'n'});
}

TEST_F(PlatformSerial, PortIsExclusiveUntilClosed) {
    auto first = open_port();
    ASSERT_TRUE(first);
    EXPECT_EQ(error_, OpenError::none);
    {
        const ScopedEnv com2("VELMORA_COM2", pty_.slave_path());
        for (const char* name : {"COM1", "COM2"}) {
            EXPECT_EQ(open_port(name), nullptr) << name;
            EXPECT_NE(error_, OpenError::none) << name;
        }
    }
    EXPECT_EQ(plain_open_error(pty_.slave_path()), EBUSY) << "another program opens it plainly";
    first.reset();
    EXPECT_EQ(plain_open_error(pty_.slave_path()), 0);
    EXPECT_TRUE(open_port());
    EXPECT_EQ(error_, OpenError::none);
}

TEST_F(PlatformSerial, NamesAndDevicesThatCannotBeOpened) {
    const ScopedEnv com3("VELMORA_COM3", "/nonexistent/tty");
    const ScopedEnv com4("VELMORA_COM4", "/dev/null");  // not a terminal
    for (const char* name : {"COM3", "COM4", "COM0", "COM", "COMX", "LPT1", "COM01", ""}) {
        EXPECT_EQ(open_port(name), nullptr) << name;
        EXPECT_EQ(error_, OpenError::cannot_open) << name;
    }
}

TEST_F(PlatformSerial, OriginalSettingsComeBackOnClose) {
    pty_.set_slave_cooked();
    const termios before = slave_settings();
    {
        auto line = open_port();
        ASSERT_TRUE(line) << reason_;
        ASSERT_NE(slave_settings().c_lflag, before.c_lflag);
    }
    EXPECT_TRUE(test_support::same_settings(slave_settings(), before));
}

// A batch received through the real serial line, in real time.
TEST(ReaderOverPty, BatchArrivesByteExact) {
    test_support::PtyPair pty;
    ASSERT_TRUE(pty.ok());
    const ScopedEnv com3("VELMORA_COM3", pty.slave_path());

    sim::SourceConfig config;
    // Every byte value but CR, and a full-size record, in one batch.
    sim::Bytes all_bytes = every_byte_value();
    all_bytes.erase(all_bytes.begin() + 0x0D);
    sim::Records batch = sim::generate_records(20, 40);
    batch.push_back(sim::Bytes(all_bytes.begin(), all_bytes.begin() + 251));
    batch.push_back(sim::Bytes(all_bytes.begin() + 251, all_bytes.end()));
    batch.push_back(sim::generate_records(1, 251, 900)[0]);
    config.batches = {batch};
    config.faults.bad_checksum = {3};
    test_support::RecordSourcePump pump(pty, config);

    TempDir temp;
    auto ports = platform::make_system_serial_ports();
    auto clock = platform::make_system_clock();
    RecordingUi ui;
    ravelo::Reader reader(*ports, *clock, ui, ui);
    reader.settings.port_index = 2;
    reader.settings.baud_index = 0;
    reader.output_path = temp.file("PTY.TXT");

    ASSERT_EQ(ravelo::open_serial_port(reader), common::LineOpen::opened);
    const int stored = ravelo::receive_records(reader).count_or_failure();
    reader.port.reset();
    reader.output.close();
    pump.stop();

    EXPECT_EQ(stored, static_cast<int>(batch.size()));
    std::string content;
    ASSERT_TRUE(platform::read_whole_file(reader.output_path, &content));
    EXPECT_EQ(content, as_lines(batch));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(pump.source().acknowledged().size(), batch.size());
}

}  // namespace

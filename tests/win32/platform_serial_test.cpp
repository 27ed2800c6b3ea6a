// COM1 under Wine against an echoing peer: every byte value both ways, and the waits' timing.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <thread>
#include <vector>

#include "platform/clock.h"
#include "platform/serial.h"
#include "reader/message_wait.h"

namespace {

double now_ms() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// User and kernel time this process has used, in milliseconds.
double cpu_ms() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto ms = [](const FILETIME& t) {
        return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e4;
    };
    return ms(kernel) + ms(user);
}

class Com1 : public ::testing::Test {
  protected:
    void SetUp() override {
        ports_ = platform::make_system_serial_ports();
        platform::OpenedLine opened = ports_->open(1, {115200, 256, 256, {5, 50}});
        ASSERT_NE(opened.error, platform::OpenError::cannot_open) << "COM1 cannot be opened";
        // Wine opens COM1 even when its link leads nowhere; then every comm call fails.
        ASSERT_EQ(opened.error, platform::OpenError::none)
            << "COM1 refused " << opened.reason
            << ": is the echo peer linked (ctest fixture com1_peer)?";
        line_ = std::move(opened.line);
        line_->discard_input();
    }

    // Collects n bytes through the waits and reads the programs use, or what came in 2 s.
    std::vector<std::uint8_t> receive(std::size_t n) {
        std::vector<std::uint8_t> got;
        const double deadline = now_ms() + 2000;
        while (got.size() < n && now_ms() < deadline) {
            if (!line_->wait_for_input(100)) continue;
            std::uint8_t buffer[64];
            const std::size_t k = line_->read(buffer, sizeof buffer);
            got.insert(got.end(), buffer, buffer + k);
        }
        return got;
    }

    std::unique_ptr<platform::SerialPorts> ports_;
    std::unique_ptr<platform::SerialLine> line_;
};

TEST_F(Com1, EveryByteValueCrossesUnchangedBothWays) {
    std::vector<std::uint8_t> all(256);
    for (int i = 0; i < 256; ++i) all[i] = static_cast<std::uint8_t>(i);
    // In one write, and again one byte at a time (CR, LF, XON, XOFF, NUL and 0xFF included).
    ASSERT_EQ(line_->write(all.data(), all.size()), all.size());
    EXPECT_EQ(receive(all.size()), all);
    for (std::uint8_t byte : all) {
        ASSERT_EQ(line_->write(&byte, 1), 1u);
        const std::vector<std::uint8_t> echo = receive(1);
        ASSERT_EQ(echo, std::vector<std::uint8_t>{byte}) << "byte " << int(byte);
    }
}

TEST_F(Com1, ReadWithNothingBufferedReturnsAtOnce) {
    std::uint8_t buffer[16];
    for (int i = 0; i < 5; ++i) {
        const double start = now_ms();
        EXPECT_EQ(line_->read(buffer, sizeof buffer), 0u);
        EXPECT_LT(now_ms() - start, 5.0);
    }
}

TEST_F(Com1, WaitOnAQuietLineLastsItsLimit) {
    for (std::uint32_t limit : {20u, 300u}) {
        const double start = now_ms();
        const double cpu_start = cpu_ms();
        EXPECT_FALSE(line_->wait_for_input(limit));
        const double elapsed = now_ms() - start;
        EXPECT_GE(elapsed, limit - 1.0) << "limit " << limit;
        EXPECT_LT(elapsed, limit + 20.0) << "limit " << limit;
        // Blocked, not polling. Process time comes in 10 ms scheduler ticks, and a loaded
        // machine may charge a blocked wait two of them; a polling one is charged nearly all.
        EXPECT_LT(cpu_ms() - cpu_start, 0.1 * limit + 20.0) << "limit " << limit;
    }
    // A zero limit only looks, and after the waits reads return at once again.
    const double start = now_ms();
    EXPECT_FALSE(line_->wait_for_input(0));
    std::uint8_t buffer[16];
    EXPECT_EQ(line_->read(buffer, sizeof buffer), 0u);
    EXPECT_LT(now_ms() - start, 5.0);
}

// The byte is sent from a second thread while the wait is under way; Wine does not serialise
// synchronous I/O on one handle, so the write is not held up by the blocked read.
TEST_F(Com1, WaitEndsAsSoonAsAByteArrives) {
    const std::uint8_t sent[] = {'R', 'E', 'A', 'D', '\r'};
    const double start = now_ms();
    std::thread writer([&] {
        Sleep(150);
        line_->write(sent, sizeof sent);
    });
    const bool arrived = line_->wait_for_input(3000);
    const double elapsed = now_ms() - start;
    writer.join();
    EXPECT_TRUE(arrived);
    EXPECT_GE(elapsed, 140.0);
    EXPECT_LT(elapsed, 200.0);
    // The byte the wait took off the line comes first, then the rest in order.
    EXPECT_EQ(receive(sizeof sent), std::vector<std::uint8_t>(sent, sent + sizeof sent));
}

TEST_F(Com1, DiscardDropsBufferedInputAndTheWaitedByte) {
    const std::uint8_t sent[] = {'A', 'C', 'K', '\r'};
    ASSERT_EQ(line_->write(sent, sizeof sent), sizeof sent);
    ASSERT_TRUE(line_->wait_for_input(1000));
    Sleep(50);  // let the whole echo arrive
    line_->discard_input();
    std::uint8_t buffer[16];
    EXPECT_EQ(line_->read(buffer, sizeof buffer), 0u);
    EXPECT_FALSE(line_->wait_for_input(50));
}

// The line takes what the driver holds in one go: a message's CR must not swallow what
// follows it, and a discard must drop what was taken ahead as well.
TEST_F(Com1, BytesReadAheadStayForTheNextMessageUntilDiscarded) {
    const std::uint8_t sent[] = {'A', 'C', 'K', '\r', 'O', 'V', 'E', 'R', '\r', 's', 't'};
    ASSERT_EQ(line_->write(sent, sizeof sent), sizeof sent);
    Sleep(50);  // let the whole echo arrive
    auto clock = platform::make_system_clock();
    const ravelo::MessageRules rules{300, 255, true};
    ravelo::MessageBuffer buffer;
    ASSERT_EQ(ravelo::wait_for_message(*line_, *clock, rules, buffer), ravelo::WaitEnd::complete);
    EXPECT_TRUE(ravelo::buffer_equals(buffer, "ACK\r"));
    ASSERT_EQ(ravelo::wait_for_message(*line_, *clock, rules, buffer), ravelo::WaitEnd::complete);
    EXPECT_TRUE(ravelo::buffer_equals(buffer, "OVER\r"));

    line_->discard_input();
    std::uint8_t rest[8];
    EXPECT_EQ(line_->read(rest, sizeof rest), 0u);
    EXPECT_FALSE(line_->wait_for_input(50));
    const std::uint8_t next = 'n';
    ASSERT_EQ(line_->write(&next, 1), 1u);
    EXPECT_EQ(receive(1), std::vector<std::uint8_t>{'n'});
}

}  // namespace

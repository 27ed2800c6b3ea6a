// The POSIX serial line against the velmora-sim program's echo: every byte value comes back.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <vector>

#include "platform/serial.h"
#include "tests/support/posix/child_process.h"

namespace {

using namespace std::chrono_literals;

TEST(PlatformSerialEcho, EveryByteValueComesBackThroughVelmoraSim) {
    testing_support::BackgroundProcess echo(
        {std::string(VELMORA_BIN_DIR) + "/velmora-sim", "echo"});
    const std::string device = echo.read_line(5s);
    ASSERT_FALSE(device.empty()) << "velmora-sim did not start";
    ::setenv("VELMORA_COM7", device.c_str(), 1);

    auto ports = platform::make_system_serial_ports();
    platform::OpenedLine opened = ports->open(7, {115200, 0, 0, {}});
    ASSERT_NE(opened.line, nullptr) << opened.reason;
    auto line = std::move(opened.line);

    std::vector<std::uint8_t> sent(256);
    for (int b = 0; b < 256; ++b) sent[b] = static_cast<std::uint8_t>(b);
    ASSERT_EQ(line->write(sent.data(), sent.size()), sent.size());

    std::vector<std::uint8_t> received;
    const auto deadline = std::chrono::steady_clock::now() + 3s;
    while (received.size() < sent.size() && std::chrono::steady_clock::now() < deadline) {
        std::uint8_t buffer[64];
        const std::size_t n = line->read(buffer, sizeof buffer);
        received.insert(received.end(), buffer, buffer + n);
        if (n == 0) line->wait_for_input(100);
    }
    EXPECT_EQ(received, sent);
    ::unsetenv("VELMORA_COM7");
}

}  // namespace

// What Windows opens for a port, with and without VELMORA_COMn pointing it elsewhere.
#include <gtest/gtest.h>

#include "platform/port_device.h"

namespace {

TEST(PlatformPortDevice, AVariablePointsAPortAtAnotherPortOrDevice) {
    const struct {
        const char* port;
        const char* redirect;
        const char* device;  // nullptr: refused
    } cases[] = {
        {"COM1", "", "\\\\.\\COM1"},
        {"COM1", "COM12", "\\\\.\\COM12"},
        {"COM3", "com256", "\\\\.\\COM256"},
        {"COM1", "\\\\.\\COM12", "\\\\.\\COM12"},
        {"COM1", "\\\\.\\Silicon_Labs_CP210x", "\\\\.\\Silicon_Labs_CP210x"},
        {"COM1", "/dev/ttyUSB0", nullptr},  // a Linux setting in a shared script
        {"COM1", "12", nullptr},
        {"COM1", "COM012", nullptr},
        {"COM1", "COM12 ", nullptr},
        {"COM1", "\\\\.\\", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.port) + " " + c.redirect);
        std::string device;
        EXPECT_EQ(
            platform::windows_port_device(platform::com_port_number(c.port), c.redirect, &device),
            c.device != nullptr);
        if (c.device) {
            EXPECT_EQ(device, c.device);
        }
    }
    EXPECT_EQ(platform::port_variable(12), "VELMORA_COM12");
    EXPECT_EQ(platform::port_variable(platform::com_port_number("PRN")), "");
}

}  // namespace

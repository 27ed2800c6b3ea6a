// The device control block both programs apply: every setting they rely on, built on the
// driver's report so that its distinct XON and XOFF characters survive.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "platform/win32/line_settings.h"

namespace {

// A report with every switch on and every field set, as a driver left by other software has it.
DCB busy_report() {
    DCB dcb;
    std::memset(&dcb, 0xFF, sizeof dcb);
    dcb.DCBlength = 0;
    dcb.BaudRate = 1200;
    dcb.ByteSize = 7;
    dcb.Parity = EVENPARITY;
    dcb.StopBits = TWOSTOPBITS;
    dcb.fDtrControl = DTR_CONTROL_HANDSHAKE;
    dcb.fRtsControl = RTS_CONTROL_TOGGLE;
    dcb.XonChar = 0x11;
    dcb.XoffChar = 0x13;
    dcb.XonLim = 2048;
    dcb.XoffLim = 512;
    return dcb;
}

TEST(PlatformLineSettings, EverySettingIsSetAndTheDriversXonXoffStayDistinct) {
    const struct {
        const char* name;
        DCB reported;
        char xon;
        char xoff;
        WORD xon_limit;
    } cases[] = {
        {"busy driver", busy_report(), 0x11, 0x13, 2048},
        {"zeroed report", DCB{}, 0x11, 0x13, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (std::uint32_t baud : {115200u, 9600u}) {
            const DCB dcb = platform::line_control_block(c.reported, baud);
            EXPECT_EQ(dcb.DCBlength, sizeof(DCB));
            EXPECT_EQ(dcb.BaudRate, baud);
            EXPECT_EQ(dcb.ByteSize, 8);
            EXPECT_EQ(dcb.Parity, NOPARITY);
            EXPECT_EQ(dcb.StopBits, ONESTOPBIT);
            EXPECT_EQ(dcb.fBinary, 1u);
            EXPECT_EQ(dcb.fParity, 0u);
            EXPECT_EQ(dcb.fOutxCtsFlow + dcb.fOutxDsrFlow + dcb.fDsrSensitivity, 0u);
            EXPECT_EQ(dcb.fOutX + dcb.fInX, 0u);
            EXPECT_EQ(dcb.fDtrControl, static_cast<DWORD>(DTR_CONTROL_DISABLE));
            EXPECT_EQ(dcb.fRtsControl, static_cast<DWORD>(RTS_CONTROL_DISABLE));
            EXPECT_EQ(dcb.fErrorChar + dcb.fNull + dcb.fAbortOnError, 0u);
            EXPECT_EQ(dcb.wReserved, 0);
            EXPECT_EQ(dcb.XonChar, c.xon);
            EXPECT_EQ(dcb.XoffChar, c.xoff);
            EXPECT_EQ(dcb.XonLim, c.xon_limit);
        }
    }
}

}  // namespace

// The DCB to termios conversion of the stand-in, for every data size, parity and stop bits
// (a pseudo-terminal does not keep all of them, so they are checked here on the settings).
#include <gtest/gtest.h>

#include "com_termios.h"

namespace {

using zelkernel::DcbFromTermios;
using zelkernel::MakeRaw;
using zelkernel::TermiosFromDcb;

DCB Line(DWORD baud, BYTE bits, BYTE parity, BYTE stopBits) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    dcb.BaudRate = baud;
    dcb.ByteSize = bits;
    dcb.Parity = parity;
    dcb.StopBits = stopBits;
    dcb.fBinary = 1;
    dcb.fParity = 1;
    dcb.XonChar = 0x11;
    dcb.XoffChar = 0x13;
    return dcb;
}

TEST(TermiosConversion, EveryLineFormatRoundTrips) {
    const tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
    for (BYTE bits = 5; bits <= 8; ++bits) {
        for (BYTE parity = NOPARITY; parity <= SPACEPARITY; ++parity) {
            for (BYTE stop = ONESTOPBIT; stop <= TWOSTOPBITS; ++stop) {
                const bool valid =
                    !(stop == ONE5STOPBITS && bits != 5) && !(stop == TWOSTOPBITS && bits == 5);
                termios settings{};
                MakeRaw(settings);
                const DCB dcb = Line(9600, bits, parity, stop);
                SCOPED_TRACE(::testing::Message() << int{bits} << " bits, parity " << int{parity}
                                                  << ", stop code " << int{stop});
                ASSERT_EQ(TermiosFromDcb(dcb, settings), valid);
                if (!valid) continue;
                EXPECT_EQ(settings.c_cflag & CSIZE, sizes[bits - 5]);
                EXPECT_EQ((settings.c_cflag & PARENB) != 0, parity != NOPARITY);
                if (parity != NOPARITY) {
                    EXPECT_EQ((settings.c_cflag & PARODD) != 0,
                              parity == ODDPARITY || parity == MARKPARITY);
                    EXPECT_EQ((settings.c_cflag & CMSPAR) != 0, parity >= MARKPARITY);
                    EXPECT_NE(settings.c_iflag & INPCK, 0u);
                }
                EXPECT_EQ((settings.c_cflag & CSTOPB) != 0, stop != ONESTOPBIT);
                EXPECT_NE(settings.c_cflag & CLOCAL, 0u);
                EXPECT_NE(settings.c_cflag & CREAD, 0u);
                EXPECT_EQ(cfgetospeed(&settings), B9600);
                EXPECT_EQ(cfgetispeed(&settings), B9600);

                DCB back{};
                DcbFromTermios(settings, dcb, back);
                EXPECT_EQ(back.ByteSize, bits);
                EXPECT_EQ(back.Parity, parity);
                EXPECT_EQ(back.StopBits, stop);
                EXPECT_EQ(back.BaudRate, 9600u);
            }
        }
    }
}

TEST(TermiosConversion, BaudRates) {
    const std::pair<DWORD, speed_t> known[] = {
        {110, B110},   {300, B300},     {1200, B1200},   {2400, B2400},   {4800, B4800},
        {9600, B9600}, {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200}};
    for (const auto& [rate, speed] : known) {
        termios settings{};
        ASSERT_TRUE(TermiosFromDcb(Line(rate, 8, NOPARITY, ONESTOPBIT), settings)) << rate;
        EXPECT_EQ(cfgetospeed(&settings), speed) << rate;
    }
    for (DWORD rate : {0u, 1u, 14400u, 65535u, 0xFFFFFFFFu}) {
        termios settings{};
        EXPECT_FALSE(TermiosFromDcb(Line(rate, 8, NOPARITY, ONESTOPBIT), settings)) << rate;
    }
}

TEST(TermiosConversion, FlowControl) {
    termios settings{};
    DCB dcb = Line(9600, 8, NOPARITY, ONESTOPBIT);
    dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
    dcb.fOutX = 1;
    dcb.fInX = 1;
    dcb.XonChar = 0x21;
    dcb.XoffChar = 0x22;
    ASSERT_TRUE(TermiosFromDcb(dcb, settings));
    EXPECT_NE(settings.c_cflag & CRTSCTS, 0u);
    EXPECT_NE(settings.c_iflag & IXON, 0u);
    EXPECT_NE(settings.c_iflag & IXOFF, 0u);
    EXPECT_EQ(settings.c_cc[VSTART], 0x21);
    EXPECT_EQ(settings.c_cc[VSTOP], 0x22);

    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fOutX = 0;
    dcb.fInX = 0;
    ASSERT_TRUE(TermiosFromDcb(dcb, settings));
    EXPECT_EQ(settings.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(settings.c_iflag & (IXON | IXOFF), 0u);
    DCB back{};
    DcbFromTermios(settings, dcb, back);
    EXPECT_EQ(back.fRtsControl, RTS_CONTROL_ENABLE);
    EXPECT_EQ(back.fOutxCtsFlow, 0u);
}

}  // namespace

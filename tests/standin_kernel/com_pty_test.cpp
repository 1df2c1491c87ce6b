// The COM port calls on a real pseudo-terminal: exclusive open, raw line, bytes both ways,
// read time-outs, the input queue, line settings.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <thread>

#include "platform/kernel.h"
#include "pseudo_terminal.h"

namespace {

using standin_test::PseudoTerminal;

class PtyPortTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(far.ok());
        port = Open(far.slavePath().c_str());
        ASSERT_NE(port, INVALID_HANDLE_VALUE);
    }
    void TearDown() override {
        if (port != INVALID_HANDLE_VALUE) CloseHandle(port);
    }
    static HANDLE Open(const char* name) {
        return CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    void SetReadTimeouts(DWORD interval, DWORD multiplier, DWORD constant) {
        COMMTIMEOUTS timeouts{interval, multiplier, constant, 0, 0};
        ASSERT_EQ(SetCommTimeouts(port, &timeouts), 1);
    }
    // Waits (bounded) until the input queue holds count bytes.
    DWORD QueuedInput(DWORD count) {
        COMSTAT status{};
        for (int i = 0; i < 500; ++i) {
            DWORD errors = 0;
            if (ClearCommError(port, &errors, &status) != 1) return 0;
            if (status.cbInQue >= count) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return status.cbInQue;
    }
    PseudoTerminal far;
    HANDLE port = INVALID_HANDLE_VALUE;
};

TEST_F(PtyPortTest, OpenIsExclusiveUntilClosed) {
    EXPECT_EQ(Open(far.slavePath().c_str()), INVALID_HANDLE_VALUE);
    ASSERT_EQ(CloseHandle(port), 1);
    port = Open(far.slavePath().c_str());
    EXPECT_NE(port, INVALID_HANDLE_VALUE);
}

TEST_F(PtyPortTest, ComNamesMapThroughTheEnvironment) {
    ASSERT_EQ(CloseHandle(port), 1);
    setenv("ZELKERNEL_COM7", far.slavePath().c_str(), 1);
    port = Open("COM7");
    ASSERT_NE(port, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Open("\\\\.\\com7"), INVALID_HANDLE_VALUE);  // the same device, held already
    unsetenv("ZELKERNEL_COM7");
}

TEST_F(PtyPortTest, LineIsRawAfterOpen) {
    const termios settings = far.Settings();
    EXPECT_EQ(settings.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(settings.c_oflag & OPOST, 0u);
    EXPECT_EQ(settings.c_iflag & (ICRNL | IXON), 0u);
    EXPECT_EQ(settings.c_cc[VMIN], 0);
    EXPECT_EQ(settings.c_cc[VTIME], 0);
}

TEST_F(PtyPortTest, BytesGoBothWaysUnchanged) {
    const std::string out("hello\r\n\x00\xff\x11\x13", 11);
    DWORD written = 0;
    ASSERT_EQ(WriteFile(port, out.data(), static_cast<DWORD>(out.size()), &written, nullptr), 1);
    EXPECT_EQ(written, out.size());
    EXPECT_EQ(far.Receive(out.size()), out);

    SetReadTimeouts(0, 0, 2000);
    ASSERT_TRUE(far.Send(out));
    char in[11] = {};
    DWORD received = 0;
    ASSERT_EQ(ReadFile(port, in, sizeof in, &received, nullptr), 1);
    EXPECT_EQ(received, sizeof in);
    EXPECT_EQ(std::string(in, sizeof in), out);
}

TEST_F(PtyPortTest, ReadCollectsBytesThatComeLater) {
    SetReadTimeouts(0, 0, 5000);
    ASSERT_TRUE(far.Send("0123"));
    std::thread later([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        far.Send("456789");
    });
    char in[10] = {};
    DWORD received = 0;
    EXPECT_EQ(ReadFile(port, in, sizeof in, &received, nullptr), 1);
    later.join();
    EXPECT_EQ(received, 10u);
    EXPECT_EQ(std::string(in, received), "0123456789");
}

TEST_F(PtyPortTest, ReadThatTimesOutAnswersThePartialCount) {
    SetReadTimeouts(0, 0, 50);
    ASSERT_TRUE(far.Send("0123"));
    ASSERT_EQ(QueuedInput(4), 4u);
    char in[10] = {};
    DWORD received = 99;
    EXPECT_EQ(ReadFile(port, in, sizeof in, &received, nullptr), 1);
    EXPECT_EQ(received, 4u);
    EXPECT_EQ(ReadFile(port, in, sizeof in, &received, nullptr), 1);
    EXPECT_EQ(received, 0u);
}

TEST_F(PtyPortTest, ReadReturnsAtOnceWhenToldTo) {
    SetReadTimeouts(0xFFFFFFFF, 0, 0);
    char in[4];
    DWORD received = 99;
    EXPECT_EQ(ReadFile(port, in, sizeof in, &received, nullptr), 1);
    EXPECT_EQ(received, 0u);
}

TEST_F(PtyPortTest, TimeoutsAreKeptPerHandle) {
    COMMTIMEOUTS set{1, 2, 3, 4, 5};
    ASSERT_EQ(SetCommTimeouts(port, &set), 1);
    COMMTIMEOUTS got{};
    ASSERT_EQ(GetCommTimeouts(port, &got), 1);
    EXPECT_EQ(got.ReadIntervalTimeout, 1u);
    EXPECT_EQ(got.ReadTotalTimeoutMultiplier, 2u);
    EXPECT_EQ(got.ReadTotalTimeoutConstant, 3u);
    EXPECT_EQ(got.WriteTotalTimeoutMultiplier, 4u);
    EXPECT_EQ(got.WriteTotalTimeoutConstant, 5u);
}

TEST_F(PtyPortTest, ClearCommErrorCountsTheInputQueue) {
    DWORD errors = 99;
    COMSTAT status{};
    ASSERT_EQ(ClearCommError(port, &errors, &status), 1);
    EXPECT_EQ(errors, 0u);
    EXPECT_EQ(status.cbInQue, 0u);
    ASSERT_TRUE(far.Send("seven!!"));
    EXPECT_EQ(QueuedInput(7), 7u);
}

TEST_F(PtyPortTest, StateSettingsReachTheTerminal) {
    struct Case {
        DWORD baud;
        BYTE stopBits;
        BYTE parity;
        speed_t speed;
        bool twoStopBits;
    };
    const Case cases[] = {
        {9600, ONESTOPBIT, EVENPARITY, B9600, false},
        {19200, TWOSTOPBITS, ODDPARITY, B19200, true},
        {115200, ONESTOPBIT, MARKPARITY, B115200, false},
        {1200, TWOSTOPBITS, SPACEPARITY, B1200, true},
    };
    for (const Case& c : cases) {
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        ASSERT_EQ(GetCommState(port, &dcb), 1);
        dcb.BaudRate = c.baud;
        dcb.ByteSize = c.twoStopBits ? 7 : 8;
        dcb.StopBits = c.stopBits;
        dcb.Parity = c.parity;
        dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
        dcb.fDtrControl = DTR_CONTROL_ENABLE;
        ASSERT_EQ(SetCommState(port, &dcb), 1) << c.baud;
        const termios settings = far.Settings();
        EXPECT_EQ(cfgetospeed(&settings), c.speed) << c.baud;
        EXPECT_EQ((settings.c_cflag & CSTOPB) != 0, c.twoStopBits) << c.baud;
        EXPECT_NE(settings.c_cflag & CRTSCTS, 0u) << c.baud;
        // A pseudo-terminal may drop parity and data bits (Linux keeps 8, none); where it
        // keeps them they must be what was asked.
        if ((settings.c_cflag & PARENB) != 0) {
            EXPECT_EQ((settings.c_cflag & PARODD) != 0,
                      c.parity == ODDPARITY || c.parity == MARKPARITY);
        }
        EXPECT_EQ((settings.c_cflag & CMSPAR) != 0,
                  c.parity == MARKPARITY || c.parity == SPACEPARITY);

        DCB back{};
        back.DCBlength = sizeof back;
        ASSERT_EQ(GetCommState(port, &back), 1);
        EXPECT_EQ(back.BaudRate, c.baud);
        EXPECT_EQ(back.StopBits, c.stopBits);
        EXPECT_EQ(back.ByteSize, dcb.ByteSize);  // as asked, though the terminal keeps 8
        EXPECT_EQ(back.Parity, c.parity);
        EXPECT_EQ(back.fRtsControl, RTS_CONTROL_HANDSHAKE);
    }
}

TEST_F(PtyPortTest, StateSettingsWindowsRefusesAreRefused) {
    DCB good{};
    good.DCBlength = sizeof good;
    ASSERT_EQ(GetCommState(port, &good), 1);
    good.BaudRate = 4800;
    good.ByteSize = 8;
    good.StopBits = ONESTOPBIT;
    good.Parity = NOPARITY;
    ASSERT_EQ(SetCommState(port, &good), 1);
    auto with = [&](auto change) {
        DCB dcb = good;
        change(dcb);
        return SetCommState(port, &dcb);
    };
    EXPECT_EQ(with([](DCB& d) { d.BaudRate = 12345; }), 0);
    EXPECT_EQ(with([](DCB& d) { d.BaudRate = 0; }), 0);
    EXPECT_EQ(with([](DCB& d) { d.ByteSize = 4; }), 0);
    EXPECT_EQ(with([](DCB& d) { d.ByteSize = 9; }), 0);
    EXPECT_EQ(with([](DCB& d) { d.Parity = 5; }), 0);
    EXPECT_EQ(with([](DCB& d) { d.StopBits = 3; }), 0);
    EXPECT_EQ(with([](DCB& d) { d.StopBits = ONE5STOPBITS; }), 0);  // with 8 data bits
    EXPECT_EQ(with([](DCB& d) { d.ByteSize = 5, d.StopBits = TWOSTOPBITS; }), 0);
    const termios settings = far.Settings();
    EXPECT_EQ(cfgetospeed(&settings), B4800);
}

TEST_F(PtyPortTest, BreakAndQueueSetUpAreAccepted) {
    EXPECT_EQ(SetupComm(port, 1200, 1200), 1);
    EXPECT_EQ(SetCommBreak(port), 1);
    EXPECT_EQ(ClearCommBreak(port), 1);
}

TEST_F(PtyPortTest, CloseWhileAnotherThreadReadsEndsThatRead) {
    SetReadTimeouts(0, 0, 0);  // no time-out: waits for all bytes
    BOOL result = 1;
    std::thread reader([&] {
        char in[4];
        DWORD received = 0;
        result = ReadFile(port, in, sizeof in, &received, nullptr);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(CloseHandle(port), 1);
    reader.join();
    EXPECT_EQ(result, 0);
    port = INVALID_HANDLE_VALUE;
}

}  // namespace

// The driver's port operations and primitives running on the kernel stand-in and a real
// pseudo-terminal, through ZelMain.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "pseudo_terminal.h"
#include "serial/port_handle.h"
#include "serial/port_primitives.h"
#include "zelmpi/zelmpi.h"

namespace {

using namespace zelmpi;
using standin_test::PseudoTerminal;

class DriverPortTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(far.ok());
        setenv("ZELKERNEL_COM9", far.slavePath().c_str(), 1);
        std::memset(&context, 0, sizeof context);
        context.readTimeout = 100;
    }
    void TearDown() override {
        Run(OP_PORT_CLOSE);
        unsetenv("ZELKERNEL_COM9");
    }
    int Run(int32_t operation, void* params = nullptr, DriverContext* on = nullptr) {
        DriverRequest request{on != nullptr ? on : &context, operation, 1, 0, params};
        return ZelMain(&request);
    }
    int Configure(const std::string& name, int32_t timeout, LineSettings line) {
        PortSettings block{};
        std::strncpy(block.portName, name.c_str(), sizeof block.portName - 1);
        block.readTimeout = timeout;
        block.lineSettings = line;
        return Run(OP_PORT_CONFIG, &block);
    }
    HANDLE Port() const { return KernelHandle(context.portHandle); }
    PseudoTerminal far;
    DriverContext context;
};

TEST_F(DriverPortTest, ConfigSetsTheLineAndTheReadTimeout) {
    ASSERT_EQ(Configure("COM9", 20, {9600, 8, TWOSTOPBITS, EVENPARITY}), DRV_OK);
    EXPECT_NE(context.portHandle, 0u);
    EXPECT_EQ(context.portOpen, 1);
    const termios settings = far.Settings();
    EXPECT_EQ(cfgetospeed(&settings), B9600);
    EXPECT_NE(settings.c_cflag & CSTOPB, 0u);
    EXPECT_EQ(settings.c_cflag & CRTSCTS, 0u);  // flowFlags 0
    COMMTIMEOUTS timeouts{};
    ASSERT_EQ(GetCommTimeouts(Port(), &timeouts), 1);
    EXPECT_EQ(timeouts.ReadTotalTimeoutConstant, 200u);

    // Again on the open port: it is closed first, and the new line takes effect.
    ASSERT_EQ(Configure("COM9", 0, {19200, 8, ONESTOPBIT, NOPARITY}), DRV_OK);
    const termios changed = far.Settings();
    EXPECT_EQ(cfgetospeed(&changed), B19200);
    EXPECT_EQ(changed.c_cflag & CSTOPB, 0u);
}

TEST_F(DriverPortTest, RepeatedConfigsWithParity) {
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(Configure("COM9", 0, {9600, 7, ONESTOPBIT, EVENPARITY}), DRV_OK) << i;
        ASSERT_EQ(Run(OP_PORT_CLOSE), DRV_OK);
        ASSERT_EQ(Run(OP_PORT_OPEN), DRV_OK) << i;
    }
}

TEST_F(DriverPortTest, ConfigOnTheSlavePathItself) {
    if (far.slavePath().size() >= sizeof context.portName) GTEST_SKIP() << "path too long";
    ASSERT_EQ(Configure(far.slavePath(), 0, {4800, 8, ONESTOPBIT, NOPARITY}), DRV_OK);
    const termios settings = far.Settings();
    EXPECT_EQ(cfgetospeed(&settings), B4800);
}

TEST_F(DriverPortTest, OpenCloseAndTheExclusiveOpen) {
    std::strcpy(context.portName, "COM9");
    context.lineSettings = LineSettings{2400, 8, ONESTOPBIT, NOPARITY};
    context.flowFlags = 0x1000;  // RTS handshake
    ASSERT_EQ(Run(OP_PORT_OPEN), DRV_OK);
    const termios settings = far.Settings();
    EXPECT_EQ(cfgetospeed(&settings), B2400);
    EXPECT_NE(settings.c_cflag & CRTSCTS, 0u);

    DriverContext other = context;
    other.portHandle = 0;
    EXPECT_EQ(Run(OP_PORT_OPEN, nullptr, &other), DRV_OFFLINE);  // held by the first context
    EXPECT_EQ(other.portHandle, 0u);

    EXPECT_EQ(Run(OP_PORT_OPEN), DRV_OK);  // reopening its own port works
    EXPECT_EQ(Run(OP_PORT_CLOSE), DRV_OK);
    EXPECT_EQ(context.portHandle, 0u);
    EXPECT_EQ(Run(OP_PORT_OPEN, nullptr, &other), DRV_OK);
    EXPECT_EQ(Run(OP_PORT_CLOSE, nullptr, &other), DRV_OK);
}

TEST_F(DriverPortTest, NulAndMissingPorts) {
    std::strcpy(context.portName, "NUL");
    EXPECT_EQ(Run(OP_PORT_OPEN), DRV_OK);
    EXPECT_NE(context.portHandle, 0u);
    EXPECT_EQ(Run(OP_PORT_CLOSE), DRV_OK);

    unsetenv("ZELKERNEL_COM250");
    EXPECT_EQ(Configure("COM250", 0, {9600, 8, 0, 0}), DRV_OFFLINE);
    EXPECT_EQ(context.portHandle, 0u);
    EXPECT_EQ(Configure("/dev/nope", 0, {9600, 8, 0, 0}), DRV_OFFLINE);
}

TEST_F(DriverPortTest, PrimitivesMoveBytesOnThePort) {
    ASSERT_EQ(Configure("COM9", 5, {9600, 8, ONESTOPBIT, NOPARITY}), DRV_OK);
    EXPECT_EQ(SendBytes(context, "query", 5), 1);
    EXPECT_EQ(far.Receive(5), "query");

    ASSERT_TRUE(far.Send("answer"));
    char in[6] = {};
    EXPECT_EQ(ReceiveBytes(context, in, sizeof in), 1);
    EXPECT_EQ(std::string(in, sizeof in), "answer");

    // Only 4 of 10 bytes come before the 50 ms time-out.
    ASSERT_TRUE(far.Send("0123"));
    char partial[10] = {};
    DWORD received = 0;
    EXPECT_EQ(ReadPort(Port(), partial, sizeof partial, &received), PORT_IO_FAILED);
    EXPECT_EQ(received, 4u);
    EXPECT_EQ(std::string(partial, 4), "0123");
}

TEST_F(DriverPortTest, DiscardInputThrowsPendingBytesAway) {
    ASSERT_EQ(Configure("COM9", 100, {9600, 8, ONESTOPBIT, NOPARITY}), DRV_OK);
    ASSERT_TRUE(far.Send(std::string(1000, 'x')));
    COMSTAT status{};
    for (int i = 0; i < 500 && status.cbInQue < 1000; ++i) {
        DWORD errors = 0;
        ASSERT_EQ(ClearCommError(Port(), &errors, &status), 1);
        if (status.cbInQue < 1000) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_EQ(status.cbInQue, 1000u);
    EXPECT_EQ(DiscardInput(Port()), PORT_OK);
    DWORD errors = 0;
    ASSERT_EQ(ClearCommError(Port(), &errors, &status), 1);
    EXPECT_EQ(status.cbInQue, 0u);
    COMMTIMEOUTS timeouts{};
    ASSERT_EQ(GetCommTimeouts(Port(), &timeouts), 1);
    EXPECT_EQ(timeouts.ReadTotalTimeoutConstant, 1000u);  // restored
    EXPECT_EQ(SendBreak(1, Port()), PORT_OK);
}

}  // namespace

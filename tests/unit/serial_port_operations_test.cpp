// OP_PORT_CLOSE, OP_PORT_OPEN and OP_PORT_CONFIG through ZelMain, on the recording kernel fake.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "fakes/call_log.h"
#include "fakes/fake_kernel.h"
#include "serial/port_handle.h"
#include "serial/port_primitives.h"
#include "zelmpi/zelmpi.h"

namespace {

using namespace zelmpi;
using Strings = std::vector<std::string>;

const std::string kCreateCom1 = "CreateFileA(COM1, 0xC0000000, 0, null, 3, 0x80, null)";

class PortOperationsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fakes::ResetAllFakes();
        std::memset(&context, 0, sizeof context);
        context.readTimeout = 100;
        std::strcpy(context.portName, "COM1");
        context.lineSettings = LineSettings{19200, 8, 0, 0};
    }
    void TearDown() override { fakes::ResetAllFakes(); }
    int Run(int32_t operation, void* params = nullptr) {
        DriverRequest request{&context, operation, 1, 0, params};
        return ZelMain(&request);
    }
    int Configure(const char* name, int32_t timeout, LineSettings line) {
        std::memset(&block, 0, sizeof block);
        std::strncpy(block.portName, name, sizeof block.portName);
        block.readTimeout = timeout;
        block.lineSettings = line;
        return Run(OP_PORT_CONFIG, &block);
    }
    DriverContext context;
    PortSettings block;
};

TEST_F(PortOperationsTest, ConfigOpensWithTheBlocksLineAndReadTimeout) {
    EXPECT_EQ(Configure("COM1", 20, {9600, 8, 0, 2}), DRV_OK);
    EXPECT_EQ(
        fakes::Calls(),
        (Strings{kCreateCom1, "GetCommState(0x100, 28)", "SetCommTimeouts(0x100, 0, 0, 1000, 0, 0)",
                 "SetCommState(0x100)", "SetupComm(0x100, 1200, 1200)", "GetCommTimeouts(0x100)",
                 "SetCommTimeouts(0x100, 0, 0, 200, 0, 0)"}));
    EXPECT_EQ(context.portHandle, 0x100u);
    EXPECT_EQ(context.portOpen, 1);
    EXPECT_EQ(context.readTimeout, 20);
    EXPECT_STREQ(context.portName, "COM1");
    EXPECT_EQ(context.lineSettings.baudRate, 9600);
    EXPECT_EQ(context.lineSettings.parityCode, 2);

    const DCB dcb = fakes::LastSetDcb();
    EXPECT_EQ(dcb.BaudRate, 9600u);
    EXPECT_EQ(dcb.ByteSize, 8);
    EXPECT_EQ(dcb.Parity, EVENPARITY);
    EXPECT_EQ(dcb.StopBits, ONESTOPBIT);
    EXPECT_EQ(dcb.fBinary, 1u);
    EXPECT_EQ(dcb.fParity, 1u);
    EXPECT_EQ(dcb.fOutxCtsFlow, 0u);
    EXPECT_EQ(dcb.fOutxDsrFlow, 0u);
    EXPECT_EQ(dcb.fDtrControl, DTR_CONTROL_DISABLE);
    EXPECT_EQ(dcb.fDsrSensitivity, 0u);
    EXPECT_EQ(dcb.fOutX, 0u);
    EXPECT_EQ(dcb.fInX, 0u);
    EXPECT_EQ(dcb.fErrorChar, 0u);
    EXPECT_EQ(dcb.fNull, 0u);
    EXPECT_EQ(dcb.fRtsControl, RTS_CONTROL_DISABLE);
    EXPECT_EQ(dcb.fAbortOnError, 0u);
    EXPECT_EQ(static_cast<unsigned char>(dcb.ErrorChar), 252);
    // Untouched: what GetCommState gave.
    EXPECT_EQ(dcb.DCBlength, 28u);
    EXPECT_EQ(dcb.fTXContinueOnXoff, 1u);
    EXPECT_EQ(dcb.fDummy2, 0x1ABCDu);
    EXPECT_EQ(dcb.XonLim, 2048);
    EXPECT_EQ(dcb.XoffLim, 512);
    EXPECT_EQ(dcb.XonChar, 0x11);
    EXPECT_EQ(dcb.XoffChar, 0x13);
    EXPECT_EQ(dcb.EofChar, 0x1A);
    EXPECT_EQ(dcb.EvtChar, 0x0D);
}

TEST_F(PortOperationsTest, ConfigWithZerosKeepsTimeoutAndLine) {
    context.readTimeout = 150;
    EXPECT_EQ(Configure("COM2", 0, {0, 7, 2, 1}), DRV_OK);
    EXPECT_EQ(context.readTimeout, 150);
    EXPECT_EQ(context.lineSettings.baudRate, 19200);
    EXPECT_EQ(context.lineSettings.dataBits, 8);
    EXPECT_EQ(fakes::Calls().front(), "CreateFileA(COM2, 0xC0000000, 0, null, 3, 0x80, null)");
    EXPECT_EQ(fakes::LastSetDcb().BaudRate, 19200u);
    EXPECT_EQ(fakes::Calls().back(), "SetCommTimeouts(0x100, 0, 0, 1500, 0, 0)");
}

TEST_F(PortOperationsTest, LineSettingsUseTheirLowOrderBytes) {
    context.lineSettings = LineSettings{65535, 0x0107, 0x0302, 0x0A04};
    EXPECT_EQ(Run(OP_PORT_OPEN), DRV_OK);
    const DCB dcb = fakes::LastSetDcb();
    EXPECT_EQ(dcb.BaudRate, 65535u);
    EXPECT_EQ(dcb.ByteSize, 7);
    EXPECT_EQ(dcb.StopBits, 2);
    EXPECT_EQ(dcb.Parity, 4);
}

TEST_F(PortOperationsTest, FlowFlagsChooseTheControlLines) {
    struct Case {
        uint16_t flags;
        unsigned dtr;
        unsigned rts;
    };
    const Case cases[] = {
        {0x0000, DTR_CONTROL_DISABLE, RTS_CONTROL_DISABLE},
        {0x0001, DTR_CONTROL_ENABLE, RTS_CONTROL_DISABLE},
        {0x0100, DTR_CONTROL_ENABLE, RTS_CONTROL_DISABLE},
        {0x8000, DTR_CONTROL_HANDSHAKE, RTS_CONTROL_DISABLE},
        {0x8001, DTR_CONTROL_ENABLE, RTS_CONTROL_DISABLE},
        {0x0002, DTR_CONTROL_DISABLE, RTS_CONTROL_ENABLE},
        {0x0200, DTR_CONTROL_DISABLE, RTS_CONTROL_ENABLE},
        {0x1000, DTR_CONTROL_DISABLE, RTS_CONTROL_HANDSHAKE},
        {0x2000, DTR_CONTROL_DISABLE, RTS_CONTROL_TOGGLE},
        {0x3000, DTR_CONTROL_DISABLE, RTS_CONTROL_HANDSHAKE},
        {0x3200, DTR_CONTROL_DISABLE, RTS_CONTROL_ENABLE},
        {0x4CFC, DTR_CONTROL_DISABLE, RTS_CONTROL_DISABLE},  // bits without meaning
        {0xFFFF, DTR_CONTROL_ENABLE, RTS_CONTROL_ENABLE},
    };
    for (const Case& c : cases) {
        context.flowFlags = c.flags;
        ASSERT_EQ(Run(OP_PORT_OPEN), DRV_OK);
        const DCB dcb = fakes::LastSetDcb();
        EXPECT_EQ(dcb.fDtrControl, c.dtr) << std::hex << c.flags;
        EXPECT_EQ(dcb.fRtsControl, c.rts) << std::hex << c.flags;
    }
}

TEST_F(PortOperationsTest, OpenOfNulGetsNoLineSetUp) {
    std::strcpy(context.portName, "NUL");
    EXPECT_EQ(Run(OP_PORT_OPEN), DRV_OK);
    EXPECT_EQ(fakes::Calls(), Strings{"CreateFileA(NUL, 0xC0000000, 0, null, 3, 0x80, null)"});
    EXPECT_EQ(context.portHandle, 0x100u);
    EXPECT_EQ(context.portOpen, 1);

    // The name is compared exactly: "nul" is set up like any port.
    fakes::ClearCalls();
    std::strcpy(context.portName, "nul");
    EXPECT_EQ(Run(OP_PORT_OPEN), DRV_OK);
    EXPECT_EQ(fakes::CallsStartingWith("SetCommState").size(), 1u);
}

TEST_F(PortOperationsTest, OpenKeepsTheOpensReadTimeout) {
    context.readTimeout = 300;
    EXPECT_EQ(Run(OP_PORT_OPEN), DRV_OK);
    EXPECT_EQ(fakes::CallsStartingWith("SetCommTimeouts"),
              Strings{"SetCommTimeouts(0x100, 0, 0, 1000, 0, 0)"});
}

// Each failing step closes the port again and fails the operation; the context keeps its port.
TEST_F(PortOperationsTest, FailureAtEachStepOfTheOpen) {
    struct Case {
        const char* call;
        int code;
        Strings calls;
    };
    const Case cases[] = {
        {"CreateFileA", PORT_OPEN_FAILED, {kCreateCom1}},
        {"GetCommState",
         PORT_STATE_READ_FAILED,
         {kCreateCom1, "GetCommState(0x100, 28)", "CloseHandle(0x100)"}},
        {"SetCommTimeouts",
         PORT_OPEN_FAILED,
         {kCreateCom1, "GetCommState(0x100, 28)", "SetCommTimeouts(0x100, 0, 0, 1000, 0, 0)",
          "CloseHandle(0x100)"}},
        {"SetCommState",
         PORT_STATE_SET_FAILED,
         {kCreateCom1, "GetCommState(0x100, 28)", "SetCommTimeouts(0x100, 0, 0, 1000, 0, 0)",
          "SetCommState(0x100)", "CloseHandle(0x100)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        for (int viaOperation = 0; viaOperation < 2; ++viaOperation) {
            fakes::ResetAllFakes();
            if (std::string(c.call) == "CreateFileA") {
                fakes::ScriptCreateFile(INVALID_HANDLE_VALUE);
            } else {
                fakes::ScriptResult(c.call, 0);
            }
            if (viaOperation == 1) {
                context.portOpen = 0;
                EXPECT_EQ(Run(OP_PORT_OPEN), DRV_OFFLINE);
                EXPECT_EQ(context.portHandle, 0u);
                EXPECT_EQ(context.portOpen, 0);
            } else {
                HANDLE port = nullptr;
                EXPECT_EQ(OpenPort("COM1", context.lineSettings, 0, port), c.code);
                EXPECT_EQ(port, nullptr);
            }
            EXPECT_EQ(fakes::Calls(), c.calls);
        }
    }
}

TEST_F(PortOperationsTest, SetupCommFailureDoesNotFailTheOpen) {
    fakes::ScriptResult("SetupComm", 0);
    EXPECT_EQ(Run(OP_PORT_OPEN), DRV_OK);
    EXPECT_EQ(context.portHandle, 0x100u);
}

TEST_F(PortOperationsTest, HandlesTheContextCannotKeepAreRefused) {
    fakes::ScriptCreateFile(nullptr);
    EXPECT_EQ(Run(OP_PORT_OPEN), DRV_OFFLINE);
    EXPECT_EQ(fakes::CallsStartingWith("CloseHandle").size(), 0u);
    if constexpr (sizeof(uintptr_t) > sizeof(uint32_t)) {
        fakes::ClearCalls();
        fakes::ScriptCreateFile(reinterpret_cast<HANDLE>(static_cast<uintptr_t>(0x100000100ull)));
        EXPECT_EQ(Run(OP_PORT_OPEN), DRV_OFFLINE);
        EXPECT_EQ(fakes::CallsStartingWith("CloseHandle"), Strings{"CloseHandle(0x100000100)"});
        EXPECT_EQ(context.portHandle, 0u);
    }
}

TEST_F(PortOperationsTest, CloseWithoutPortAndAfterClose) {
    context.portOpen = 1;
    EXPECT_EQ(Run(OP_PORT_CLOSE), DRV_OK);
    EXPECT_TRUE(fakes::Calls().empty());
    ASSERT_EQ(Run(OP_PORT_OPEN), DRV_OK);
    fakes::ClearCalls();
    EXPECT_EQ(Run(OP_PORT_CLOSE), DRV_OK);
    EXPECT_EQ(Run(OP_PORT_CLOSE), DRV_OK);
    EXPECT_EQ(fakes::Calls(), Strings{"CloseHandle(0x100)"});
    EXPECT_EQ(context.portHandle, 0u);
    EXPECT_EQ(context.portOpen, 1);
}

TEST_F(PortOperationsTest, FailedCloseKeepsTheHandle) {
    context.portHandle = 0x123;
    fakes::ScriptResult("CloseHandle", 0);
    EXPECT_EQ(Run(OP_PORT_CLOSE), DRV_OFFLINE);
    EXPECT_EQ(context.portHandle, 0x123u);
}

TEST_F(PortOperationsTest, ReopeningClosesThePortItReplaces) {
    ASSERT_EQ(Run(OP_PORT_OPEN), DRV_OK);
    fakes::ClearCalls();
    ASSERT_EQ(Run(OP_PORT_OPEN), DRV_OK);
    const Strings calls = fakes::Calls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[0], "CloseHandle(0x100)");
    EXPECT_EQ(calls[1], kCreateCom1);
    EXPECT_EQ(context.portHandle, 0x101u);

    // A failed reopen leaves no port behind.
    fakes::ScriptCreateFile(INVALID_HANDLE_VALUE);
    EXPECT_EQ(Run(OP_PORT_OPEN), DRV_OFFLINE);
    EXPECT_EQ(context.portHandle, 0u);
}

TEST_F(PortOperationsTest, ConfigOfTheOpenPortTakesEffect) {
    ASSERT_EQ(Configure("COM1", 0, {9600, 8, 0, 0}), DRV_OK);
    fakes::ClearCalls();
    ASSERT_EQ(Configure("COM1", 0, {4800, 7, 2, 1}), DRV_OK);
    EXPECT_EQ(fakes::Calls().front(), "CloseHandle(0x100)");
    EXPECT_EQ(fakes::LastSetDcb().BaudRate, 4800u);
    EXPECT_EQ(fakes::LastSetDcb().ByteSize, 7);
    EXPECT_EQ(context.portHandle, 0x101u);

    fakes::ClearCalls();
    ASSERT_EQ(Configure("COM3", 0, {0, 0, 0, 0}), DRV_OK);
    EXPECT_EQ(fakes::Calls().front(), "CloseHandle(0x101)");
    EXPECT_STREQ(context.portName, "COM3");
}

TEST_F(PortOperationsTest, UnterminatedPortNamesAreRefusedUntouched) {
    PortSettings settings;
    std::memcpy(settings.portName, "COM123456789", 12);
    settings.readTimeout = 50;
    settings.lineSettings = LineSettings{9600, 8, 0, 0};
    const DriverContext before = context;
    EXPECT_EQ(Run(OP_PORT_CONFIG, &settings), DRV_OFFLINE);
    EXPECT_EQ(std::memcmp(&before, &context, sizeof context), 0);

    std::memcpy(context.portName, "COM123456789", 12);  // what the host may have left there
    EXPECT_EQ(Run(OP_PORT_OPEN), DRV_OFFLINE);
    EXPECT_TRUE(fakes::Calls().empty());

    // Eleven characters and the terminating zero are a name.
    std::memcpy(settings.portName, "COM12345678", 12);
    EXPECT_EQ(Run(OP_PORT_CONFIG, &settings), DRV_OK);
    EXPECT_STREQ(context.portName, "COM12345678");
}

TEST_F(PortOperationsTest, FailedConfigOpenKeepsTheNewSettings) {
    fakes::ScriptResult("GetCommState", 0);
    EXPECT_EQ(Configure("COM4", 40, {2400, 8, 0, 0}), DRV_OFFLINE);
    EXPECT_EQ(context.portHandle, 0u);
    EXPECT_EQ(context.portOpen, 0);
    EXPECT_EQ(context.readTimeout, 40);
    EXPECT_STREQ(context.portName, "COM4");
    EXPECT_EQ(context.lineSettings.baudRate, 2400);
}

}  // namespace

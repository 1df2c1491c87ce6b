// The port primitives beneath the operations, on the recording kernel fake.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "fakes/call_log.h"
#include "fakes/fake_kernel.h"
#include "serial/port_handle.h"
#include "serial/port_primitives.h"

namespace {

using namespace zelmpi;
using Strings = std::vector<std::string>;

const HANDLE kPort = KernelHandle(0x42);

class PortPrimitivesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fakes::ResetAllFakes();
        fakes::SetPortTimeouts(COMMTIMEOUTS{0, 0, 1000, 0, 0});
    }
    void TearDown() override { fakes::ResetAllFakes(); }
};

TEST_F(PortPrimitivesTest, SetReadTimeoutReturnsThePreviousValue) {
    fakes::SetPortTimeouts(COMMTIMEOUTS{1, 2, 1000, 4, 5});
    EXPECT_EQ(SetReadTimeout(kPort, 20), 100);
    const COMMTIMEOUTS now = fakes::PortTimeouts();
    EXPECT_EQ(now.ReadTotalTimeoutConstant, 200u);
    EXPECT_EQ(now.ReadIntervalTimeout, 1u);
    EXPECT_EQ(now.ReadTotalTimeoutMultiplier, 2u);
    EXPECT_EQ(now.WriteTotalTimeoutMultiplier, 4u);
    EXPECT_EQ(now.WriteTotalTimeoutConstant, 5u);

    fakes::ClearCalls();
    EXPECT_EQ(SetReadTimeout(kPort, 20), 20);  // already so: nothing is set
    EXPECT_EQ(fakes::Calls(), Strings{"GetCommTimeouts(0x42)"});

    fakes::SetPortTimeouts(COMMTIMEOUTS{0, 0, 1009, 0, 0});
    EXPECT_EQ(SetReadTimeout(kPort, 5), 100);  // rounds towards zero
}

TEST_F(PortPrimitivesTest, SetReadTimeoutFailuresAnswerZero) {
    fakes::ScriptResult("GetCommTimeouts", 0);
    EXPECT_EQ(SetReadTimeout(kPort, 20), 0);
    fakes::ScriptResult("SetCommTimeouts", 0);
    EXPECT_EQ(SetReadTimeout(kPort, 20), 0);
    EXPECT_EQ(fakes::PortTimeouts().ReadTotalTimeoutConstant, 1000u);
}

TEST_F(PortPrimitivesTest, SetReadTimeoutStaysWithinTheKernelsRange) {
    const std::pair<int32_t, DWORD> cases[] = {{INT_MAX, 0xFFFFFFFFu},
                                               {429496729, 4294967290u},
                                               {429496730, 0xFFFFFFFFu},
                                               {-5, 0u},
                                               {INT_MIN, 0u}};
    for (const auto& [timeout, milliseconds] : cases) {
        fakes::SetPortTimeouts(COMMTIMEOUTS{0, 0, 1000, 0, 0});
        EXPECT_EQ(SetReadTimeout(kPort, timeout), 100) << timeout;
        EXPECT_EQ(fakes::PortTimeouts().ReadTotalTimeoutConstant, milliseconds) << timeout;
    }
}

TEST_F(PortPrimitivesTest, DiscardInputOnAnEmptyQueueReadsNothing) {
    EXPECT_EQ(DiscardInput(kPort), PORT_OK);
    EXPECT_EQ(fakes::Calls(), Strings{"ClearCommError(0x42)"});
}

TEST_F(PortPrimitivesTest, DiscardInputReadsWithAShortTimeoutAndRestoresIt) {
    fakes::QueueInput(std::string(1000, 'x'));
    EXPECT_EQ(DiscardInput(kPort), PORT_OK);
    EXPECT_EQ(fakes::PendingInput(), 0u);
    EXPECT_EQ(fakes::Calls(),
              (Strings{"ClearCommError(0x42)", "GetCommTimeouts(0x42)",
                       "SetCommTimeouts(0x42, 0, 0, 50, 0, 0)", "ReadFile(0x42, 512)",
                       "ReadFile(0x42, 512)", "GetCommTimeouts(0x42)",
                       "SetCommTimeouts(0x42, 0, 0, 1000, 0, 0)"}));
}

TEST_F(PortPrimitivesTest, DiscardInputReadsOnUntilAShortRead) {
    fakes::QueueInput(std::string(1024, 'x'));
    EXPECT_EQ(DiscardInput(kPort), PORT_OK);
    EXPECT_EQ(fakes::CallsStartingWith("ReadFile").size(), 3u);  // 512, 512, then 0
}

TEST_F(PortPrimitivesTest, DiscardInputReportsAFailedRead) {
    fakes::QueueInput("abc");
    fakes::ScriptResult("ReadFile", 0);
    EXPECT_EQ(DiscardInput(kPort), PORT_OPEN_FAILED);
    EXPECT_EQ(fakes::PortTimeouts().ReadTotalTimeoutConstant, 1000u);  // restored all the same
}

TEST_F(PortPrimitivesTest, DiscardInputReadsWhenTheQueueCannotBeAsked) {
    fakes::ScriptResult("ClearCommError", 2);  // only 1 counts as success
    EXPECT_EQ(DiscardInput(kPort), PORT_OK);
    EXPECT_EQ(fakes::CallsStartingWith("ReadFile").size(), 1u);

    // Without a previous time-out there is nothing to restore.
    fakes::ResetAllFakes();
    fakes::ScriptResult("ClearCommError", 0);
    fakes::ScriptResult("GetCommTimeouts", 0);
    EXPECT_EQ(DiscardInput(kPort), PORT_OK);
    EXPECT_EQ(fakes::CallsStartingWith("GetCommTimeouts").size(), 1u);
}

TEST_F(PortPrimitivesTest, WriteReportsShortAndFailedWrites) {
    DWORD written = 99;
    EXPECT_EQ(WritePort(kPort, "hello", 5, &written), PORT_OK);
    EXPECT_EQ(written, 5u);
    fakes::LimitNextWrite(3);
    EXPECT_EQ(WritePort(kPort, "world", 5, &written), PORT_SHORT_WRITE);
    EXPECT_EQ(written, 3u);
    fakes::LimitNextWrite(1);
    EXPECT_EQ(WritePort(kPort, "!", 2, nullptr), PORT_SHORT_WRITE);
    fakes::ScriptResult("WriteFile", 0);
    EXPECT_EQ(WritePort(kPort, "x", 1, &written), PORT_IO_FAILED);
    EXPECT_EQ(fakes::WrittenBytes(), "hellowor!");
}

TEST_F(PortPrimitivesTest, ReadCollectsChunksUntilTheCount) {
    fakes::QueueInput("0123456789");
    fakes::ScriptReadChunks({4, 6});
    char buffer[10] = {};
    DWORD received = 99;
    EXPECT_EQ(ReadPort(kPort, buffer, 10, &received), PORT_OK);
    EXPECT_EQ(received, 10u);
    EXPECT_EQ(std::string(buffer, 10), "0123456789");
    EXPECT_EQ(fakes::Calls(), (Strings{"ReadFile(0x42, 10)", "ReadFile(0x42, 6)"}));
}

TEST_F(PortPrimitivesTest, ReadThatTimesOutKeepsThePartialCount) {
    fakes::QueueInput("0123");
    char buffer[10] = {};
    DWORD received = 99;
    EXPECT_EQ(ReadPort(kPort, buffer, 10, &received), PORT_IO_FAILED);
    EXPECT_EQ(received, 4u);
    EXPECT_EQ(std::string(buffer, 4), "0123");

    fakes::ScriptResult("ReadFile", 0);
    EXPECT_EQ(ReadPort(kPort, buffer, 10, &received), PORT_IO_FAILED);
    EXPECT_EQ(received, 0u);
    EXPECT_EQ(ReadPort(kPort, buffer, 10, nullptr), PORT_IO_FAILED);
}

TEST_F(PortPrimitivesTest, ReadOfNothingIsDoneAtOnce) {
    DWORD received = 99;
    EXPECT_EQ(ReadPort(kPort, nullptr, 0, &received), PORT_OK);
    EXPECT_EQ(received, 0u);
    EXPECT_TRUE(fakes::Calls().empty());
}

TEST_F(PortPrimitivesTest, ReadAsksInSixteenBitAmounts) {
    std::vector<char> buffer(70000);
    fakes::QueueInput(std::string(70000, 'r'));
    DWORD received = 0;
    EXPECT_EQ(ReadPort(kPort, buffer.data(), 70000, &received), PORT_OK);
    EXPECT_EQ(received, 70000u);
    EXPECT_EQ(fakes::Calls(), (Strings{"ReadFile(0x42, 65535)", "ReadFile(0x42, 4465)"}));
}

TEST_F(PortPrimitivesTest, BreakAndPauseWaitAndAlwaysSucceed) {
    fakes::ScriptResult("SetCommBreak", 0);
    fakes::ScriptResult("ClearCommBreak", 0);
    EXPECT_EQ(SendBreak(250, kPort), PORT_OK);
    EXPECT_EQ(Pause(30), PORT_OK);
    EXPECT_EQ(fakes::Calls(),
              (Strings{"SetCommBreak(0x42)", "Sleep(250)", "ClearCommBreak(0x42)", "Sleep(30)"}));
}

TEST_F(PortPrimitivesTest, SendAndReceiveOnTheContextsPort) {
    DriverContext context{};
    context.portHandle = 0x42;
    fakes::QueueInput("stale");
    EXPECT_EQ(SendBytes(context, "query", 5), 1);
    EXPECT_EQ(fakes::PendingInput(), 0u);  // discarded before the write
    EXPECT_EQ(fakes::WrittenBytes(), "query");
    fakes::LimitNextWrite(2);
    EXPECT_EQ(SendBytes(context, "query", 5), 0);
    fakes::ScriptResult("WriteFile", 0);
    EXPECT_EQ(SendBytes(context, "query", 5), 0);

    char answer[4];
    fakes::QueueInput("ok!!");
    EXPECT_EQ(ReceiveBytes(context, answer, 4), 1);
    fakes::QueueInput("ok");
    EXPECT_EQ(ReceiveBytes(context, answer, 4), 0);
}

}  // namespace

// OP_INIT through ZelMain, and the worker thread's wait for the host's shutdown.
#include <climits>
#include <cstring>
#include <regex>
#include <string>
#include <vector>

#include "entry/context_access.h"
#include "fakes/fake_host.h"
#include "fakes/fake_kernel.h"
#include "fakes/fake_plc.h"
#include "unit/lifecycle_test_support.h"
#include "zelmpi/zelmpi.h"

namespace {

using namespace zelmpi;
using lifecycle_test::FillContext;
using Strings = std::vector<std::string>;

class InitTest : public lifecycle_test::TemporaryCurrentDirectory {
  protected:
    void SetUp() override {
        TemporaryCurrentDirectory::SetUp();
        FillContext(context, 0xEE);
        std::memset(&settings, 0x77, sizeof settings);
        settings.startValue = 3;
        settings.readTimeout = 250;
    }
    void TearDown() override {
        // A test that stopped early must not leave its worker blocked in the host's wait.
        fakes::ScriptWaitResults({0});
        fakes::JoinThreads();
        TemporaryCurrentDirectory::TearDown();
    }
    int Init(int32_t instance = 5) {
        DriverRequest request{&context, OP_INIT, instance, 0, &settings};
        return ZelMain(&request);
    }
    // Lets the worker thread pass its wait with these answers, and waits until it has ended.
    static void ReleaseWorker(std::vector<int> answers) {
        fakes::ScriptWaitResults(std::move(answers));
        fakes::JoinThreads();
    }
    DriverContext context;
    InitSettings settings;
};

const std::regex kBannerLine(
    "RavUDE: Siemens S7 MPI driver, compiled on "
    "(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) [ 1-3][0-9] [0-9]{4} at "
    "[0-2][0-9]:[0-5][0-9]:[0-5][0-9]");

TEST_F(InitTest, StartValueZeroLogsTheBannerAndTouchesOnlyPortOpen) {
    settings.startValue = 0;
    DriverContext before = context;
    EXPECT_EQ(Init(), DRV_OK);
    const Strings log = fakes::LogLines();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_TRUE(std::regex_match(log[0], kBannerLine)) << log[0];
    EXPECT_EQ(fakes::Calls().size(), 1u);  // no file, no thread
    EXPECT_EQ(context.portOpen, 0);
    before.portOpen = 0;
    EXPECT_EQ(std::memcmp(&before, &context, sizeof context), 0);
}

TEST_F(InitTest, StartsTheInstanceAndItsThread) {
    WriteFile("ravUDE05.int", "7=3\nLONG_DB=YES\n");
    SetShutdown(context, 1);
    EXPECT_EQ(Init(), DRV_OK);
    const Strings calls = fakes::Calls();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_TRUE(std::regex_match(calls[0].substr(5), kBannerLine)) << calls[0];
    EXPECT_EQ(calls[1], "err: RavUDE: Set Plc 7 to Slot # 3");
    EXPECT_EQ(calls[2], "err: RAVUDE: Set long DB to YES (4 digits)");
    EXPECT_EQ(calls[3], "_beginthread(32768)");
    EXPECT_EQ(context.portOpen, 3);
    EXPECT_EQ(context.readTimeout, 250);
    EXPECT_FALSE(IsShutDown(context));
    EXPECT_EQ(context.activePlc, 0);
    EXPECT_EQ(context.plcCount, 0);
    for (int plc = 0; plc < kPlcNumbers; ++plc) EXPECT_EQ(context.SlotTable[plc], plc == 7 ? 3 : 2);
    for (const PlcEntry& entry : context.PlcTable) EXPECT_EQ(entry.status, DRV_OFFLINE);
    EXPECT_EQ(context.longDb, 1);
    EXPECT_EQ(context.floatOddAddress, 0);
}

TEST_F(InitTest, ReadTimeoutIsRaisedTo100) {
    const std::pair<int32_t, int32_t> cases[] = {{20, 100},  {300, 300},     {-5, 100},
                                                 {250, 250}, {0, 100},       {99, 100},
                                                 {100, 100}, {INT_MIN, 100}, {INT_MAX, INT_MAX}};
    for (const auto& [given, stored] : cases) {
        settings.readTimeout = given;
        EXPECT_EQ(Init(), DRV_OK);
        EXPECT_EQ(context.readTimeout, stored) << given;
    }
}

TEST_F(InitTest, FailingThreadStartStillPreparesTheInstance) {
    WriteFile("ravUDE05.int", "7=3\n");
    fakes::SetThreadStart(fakes::ThreadStart::Fail);
    EXPECT_EQ(Init(), DRV_OFFLINE);
    const Strings log = fakes::LogLines();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[1], "RavUDE: Set Plc 7 to Slot # 3");
    EXPECT_EQ(log[2], "RavUDE : Can Not open Burst thread !!!");
    EXPECT_EQ(context.SlotTable[7], 3);
    EXPECT_EQ(context.portOpen, 3);
}

TEST_F(InitTest, SecondInitResetsTheStationsAndReadsTheFileAgain) {
    WriteFile("ravUDE05.int", "FLOAT_ODD_ADDRESS=YES\n");
    ASSERT_EQ(Init(), DRV_OK);
    context.PlcTable[0] = PlcEntry{5, DRV_OK};
    context.plcCount = 1;
    context.activePlc = 5;
    context.SlotTable[9] = 4;
    SetShutdown(context, 1);
    WriteFile("ravUDE05.int", "9=6\n");
    fakes::ClearCalls();
    ASSERT_EQ(Init(), DRV_OK);
    EXPECT_EQ(context.PlcTable[0].plc, 0);
    EXPECT_EQ(context.PlcTable[0].status, DRV_OFFLINE);
    EXPECT_EQ(context.plcCount, 0);
    EXPECT_EQ(context.activePlc, 0);
    EXPECT_EQ(context.SlotTable[9], 6);
    EXPECT_FALSE(IsShutDown(context));
    EXPECT_EQ(context.floatOddAddress, 0);
    EXPECT_EQ(fakes::CallsStartingWith("_beginthread").size(), 1u);
}

TEST_F(InitTest, WorkerWaitsForShutdownThenUnloadsAndEnds) {
    fakes::SetThreadStart(fakes::ThreadStart::Run);
    fakes::SetClientId(0x1234);
    ASSERT_EQ(Init(), DRV_OK);
    ASSERT_TRUE(fakes::WaitUntilClientWaits());
    // Answers whose low 16 bits are not zero keep the thread waiting.
    fakes::ScriptWaitResults({1, 0x10001, 0xFFFF});
    ASSERT_TRUE(fakes::WaitUntilClientWaits());
    EXPECT_FALSE(IsShutDown(context));

    fakes::ClearCalls();
    ReleaseWorker({0x10000});
    EXPECT_TRUE(IsShutDown(context));
    const Strings calls = fakes::Calls();
    ASSERT_EQ(calls.size(), 6u);
    EXPECT_EQ(calls[0], "err: RavUDE : ShutDown !!!");
    EXPECT_EQ(calls[1], "Sleep(1500)");
    EXPECT_EQ(calls[2], "unload_tool()");
    EXPECT_EQ(calls[3], "err: RavUDE: unload_tool() success 0");
    EXPECT_EQ(calls[4], "HuxRmClient(52)");  // the low byte of the id
    EXPECT_EQ(calls[5], "_endthread");
}

TEST_F(InitTest, WorkerRegistersAsClientMpiAndWaitsWithTheLowByteOfItsId) {
    fakes::SetThreadStart(fakes::ThreadStart::Run);
    fakes::SetClientId(0x1234);
    ASSERT_EQ(Init(), DRV_OK);
    ASSERT_TRUE(fakes::WaitUntilClientWaits());
    const Strings calls = fakes::Calls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[calls.size() - 2], "HuxMkClient(MPI, 1, 0)");
    EXPECT_EQ(calls.back(), "HuxWaitMsg(52, -1)");
    ReleaseWorker({0});
}

TEST_F(InitTest, AnyAnswerWithZeroLow16BitsIsTheShutdown) {
    for (int answer : {0, 0x10000, -65536, INT_MIN}) {
        fakes::ResetAllFakes();
        fakes::SetThreadStart(fakes::ThreadStart::Run);
        ASSERT_EQ(Init(), DRV_OK);
        ASSERT_TRUE(fakes::WaitUntilClientWaits());
        ReleaseWorker({answer});
        EXPECT_TRUE(IsShutDown(context)) << answer;
        EXPECT_EQ(fakes::CallsStartingWith("HuxWaitMsg").size(), 1u) << answer;
    }
}

// Every read after the shutdown message answers DRV_OFFLINE and unloads the link once more.
TEST_F(InitTest, ReadsAfterShutdownAreOffline) {
    fakes::SetThreadStart(fakes::ThreadStart::Run);
    fakes::SetPlcDefaultResult(fakes::PlcCall::UnloadTool, 0x4F);
    ASSERT_EQ(Init(), DRV_OK);
    ASSERT_TRUE(fakes::WaitUntilClientWaits());
    ReleaseWorker({0});
    EXPECT_EQ(fakes::LogLines().back(), "RavUDE: unload_tool() success 79");  // logged all the same

    uint16_t values[2] = {};
    TagTransfer transfer{};
    transfer.tag = TagAddress{1, ACCESS_WORD_EVEN, (10 << 16) | 10, kNoBit, 16};
    transfer.elementCount = 1;
    transfer.values = values;
    for (int32_t operation : {OP_READ_BLOCK, OP_READ_ONE}) {
        fakes::ClearCalls();
        DriverRequest read{&context, operation, 5, 0, &transfer};
        EXPECT_EQ(ZelMain(&read), DRV_OFFLINE);
        EXPECT_EQ(fakes::Calls(), (Strings{"err: RavUDE : Call to Unload_tool", "unload_tool()",
                                           "err: RavUDE : Unload_tool success (79) !!!"}));
    }
}

}  // namespace

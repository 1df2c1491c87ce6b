// The station manager through the reads and writes: which library calls a request makes
// before its access, the station list, the waits, the log lines and the link states.
#include <string>
#include <vector>

#include "plc_test_fixture.h"

namespace plc_test {
namespace {

using fakes::PlcCall;
using Calls = std::vector<std::string>;

const std::string kRead = "d_field_read(1, 0, 1)";

std::string LoadTool(const std::string& entries, int count) {
    return "load_tool(" + std::to_string(count) + ", 0, " + entries + "[0 0 0 0])";
}

class StationTest : public PlcTest {
  protected:
    // A one-byte read of data block 1 from plc.
    int Read(int plc) { return Run(OP_READ_BLOCK, Tag(plc, ACCESS_BYTE, 1, 0), 1, values); }

    int Connect(int plc) {
        const int result = Read(plc);
        fakes::ClearCalls();
        return result;
    }

    uint16_t values[4]{};
};

TEST_F(StationTest, FirstRequestForAPlcLoadsTheLinkTwiceWaitsAndSelects) {
    ASSERT_EQ(Read(5), DRV_OK);
    const std::string load = LoadTool("[5 0 2 0]", 1);
    EXPECT_EQ(fakes::Calls(),
              (Calls{"unload_tool()", load, "unload_tool()", load, "Sleep(1000)",
                     "select_station(1)", "err: RavUDE : Connect to PLC 5 Success !", kRead}));
    EXPECT_EQ(context.activePlc, 5);
    EXPECT_EQ(context.plcCount, 1);
    EXPECT_EQ(context.PlcTable[0].plc, 5);
    EXPECT_EQ(context.PlcTable[0].status, DRV_OK);
}

TEST_F(StationTest, ActivePlcGoesStraightToTheLibrary) {
    Connect(5);
    ASSERT_EQ(Read(5), DRV_OK);
    EXPECT_EQ(fakes::Calls(), Calls{kRead});
}

TEST_F(StationTest, SecondPlcJoinsTheListWithItsSlotAndKnownPlcIsSelectedAtOnce) {
    context.SlotTable[7] = 3;
    Connect(5);
    ASSERT_EQ(Read(7), DRV_OK);
    const std::string load = LoadTool("[5 0 2 0][7 0 3 0]", 2);
    EXPECT_EQ(fakes::Calls(),
              (Calls{"unload_tool()", load, "unload_tool()", load, "Sleep(1000)",
                     "select_station(2)", "err: RavUDE : Connect to PLC 7 Success !", kRead}));
    fakes::ClearCalls();
    ASSERT_EQ(Read(5), DRV_OK);
    EXPECT_EQ(fakes::Calls(), (Calls{"select_station(1)", kRead}));
    EXPECT_EQ(context.activePlc, 5);
}

// The access's result becomes the PLC's link state and decides how the next request
// reaches the station.
TEST_F(StationTest, OutcomeDecidesTheNextConnection) {
    struct Case {
        int readCode;  // the library's answer to both attempts
        int result;
        Calls nextRequest;
    };
    const std::string load = LoadTool("[5 0 2 0]", 1);
    const Case cases[] = {
        {0, DRV_OK, {kRead}},
        {0x8500, DRV_FAILED, {"select_station(1)", kRead}},
        {0x4002,
         DRV_OFFLINE,
         {"unload_tool()", load, "Sleep(1000)", "select_station(1)",
          "err: RavUDE : Connect to PLC 5 Success !", kRead}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.readCode);
        SetUp();
        Connect(5);
        fakes::QueuePlcResults(PlcCall::DFieldRead, {c.readCode, c.readCode});
        EXPECT_EQ(Read(5), c.result);
        EXPECT_EQ(EntryOf(5).status, c.result);
        EXPECT_EQ(context.activePlc, c.result == DRV_OK ? 5 : 0);
        fakes::ClearCalls();
        EXPECT_EQ(Read(5), DRV_OK);
        EXPECT_EQ(fakes::Calls(), c.nextRequest);
        EXPECT_EQ(EntryOf(5).status, DRV_OK);
    }
}

TEST_F(StationTest, FailedLoadForANewPlcKeepsItOfflineAndTheNextRequestLoadsOnce) {
    fakes::QueuePlcResults(PlcCall::LoadTool, {0x1A2B});
    EXPECT_EQ(Read(5), DRV_OFFLINE);
    EXPECT_EQ(fakes::Calls(), (Calls{"unload_tool()", LoadTool("[5 0 2 0]", 1),
                                     "err: RavUDE: load_tool failed(1A2B), Plc#5, 1 plc's in"}));
    EXPECT_EQ(context.plcCount, 1);
    EXPECT_EQ(EntryOf(5).status, DRV_OFFLINE);
    EXPECT_EQ(context.activePlc, 0);

    fakes::ClearCalls();
    EXPECT_EQ(Read(5), DRV_OK);
    EXPECT_EQ(fakes::Calls(),
              (Calls{"unload_tool()", LoadTool("[5 0 2 0]", 1), "Sleep(1000)", "select_station(1)",
                     "err: RavUDE : Connect to PLC 5 Success !", kRead}));
}

// A reload drops the library's selection: the station that was active must be selected again.
TEST_F(StationTest, FailedLoadForAnotherPlcForgetsTheActiveStation) {
    Connect(5);
    fakes::QueuePlcResults(PlcCall::LoadTool, {0x1A2B});
    EXPECT_EQ(Read(7), DRV_OFFLINE);
    EXPECT_EQ(context.activePlc, 0);
    fakes::ClearCalls();
    EXPECT_EQ(Read(5), DRV_OK);
    EXPECT_EQ(fakes::Calls(), (Calls{"select_station(1)", kRead}));
}

TEST_F(StationTest, FirstFailedSelectOfANewPlcSpeaksOnceAndLaterOnesStayQuiet) {
    fakes::SetPlcDefaultResult(PlcCall::SelectStation, 0x4002);
    EXPECT_EQ(Read(5), DRV_OFFLINE);
    const std::string load = LoadTool("[5 0 2 0]", 1);
    EXPECT_EQ(fakes::Calls(),
              (Calls{"unload_tool()", load, "unload_tool()", load, "Sleep(1000)",
                     "select_station(1)", "err: RavUDE : Can not connect to PLC 5 (rc=4002)"}));
    EXPECT_EQ(EntryOf(5).status, DRV_OFFLINE);
    EXPECT_EQ(context.activePlc, 0);

    fakes::ClearCalls();
    EXPECT_EQ(Read(5), DRV_OFFLINE);
    EXPECT_EQ(fakes::Calls(), (Calls{"unload_tool()", load, "Sleep(1000)", "select_station(1)"}));
    EXPECT_EQ(context.activePlc, 0);
}

TEST_F(StationTest, FailedSelectOfAStationThatAnsweredBeforeMarksItOffline) {
    Connect(5);
    Connect(7);
    fakes::QueuePlcResults(PlcCall::SelectStation, {0xFF10});
    EXPECT_EQ(Read(5), DRV_OFFLINE);
    EXPECT_EQ(fakes::Calls(),
              (Calls{"select_station(1)", "err: RavUDE : Can not connect - to PLC 5 (rc=FF10)"}));
    EXPECT_EQ(EntryOf(5).status, DRV_OFFLINE);
    EXPECT_EQ(context.activePlc, 0);
}

TEST_F(StationTest, AfterShutdownEveryReadAndWriteUnloadsTheLinkAndLogsTwoLines) {
    Connect(5);
    SetShutdown(context, 1);
    fakes::SetPlcDefaultResult(PlcCall::UnloadTool, 7);
    for (int32_t operation : {OP_READ_BLOCK, OP_READ_ONE, OP_WRITE_BLOCK, OP_WRITE_ONE}) {
        SCOPED_TRACE(operation);
        fakes::ClearCalls();
        EXPECT_EQ(Run(operation, Tag(5, ACCESS_BYTE, 1, 0), 1, values), DRV_OFFLINE);
        EXPECT_EQ(fakes::Calls(), (Calls{"err: RavUDE : Call to Unload_tool", "unload_tool()",
                                         "err: RavUDE : Unload_tool success (7) !!!"}));
    }
    EXPECT_EQ(EntryOf(5).status, DRV_OK);  // no outcome recorded
}

// PLC number 00 is a station like any other; the context cannot say that it is the selected
// one, so each request for it selects it again (no load, no wait).
TEST_F(StationTest, PlcZeroIsARealStation) {
    ASSERT_EQ(Read(0), DRV_OK);
    const std::string load = LoadTool("[0 0 2 0]", 1);
    EXPECT_EQ(fakes::Calls(),
              (Calls{"unload_tool()", load, "unload_tool()", load, "Sleep(1000)",
                     "select_station(1)", "err: RavUDE : Connect to PLC 0 Success !", kRead}));
    fakes::ClearCalls();
    ASSERT_EQ(Read(0), DRV_OK);
    EXPECT_EQ(fakes::Calls(), (Calls{"select_station(1)", kRead}));
    EXPECT_EQ(EntryOf(0).status, DRV_OK);
}

TEST_F(StationTest, PlcNinetyNineGetsTheDefaultSlot) {
    ASSERT_EQ(Read(99), DRV_OK);
    const Calls calls = fakes::Calls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[1], LoadTool("[99 0 2 0]", 1));
}

TEST_F(StationTest, ASixteenthPlcIsRefusedWithoutTouchingListOrTable) {
    std::string entries;
    for (int plc = 1; plc <= 15; ++plc) {
        ASSERT_EQ(Connect(plc), DRV_OK);
        entries += "[" + std::to_string(plc) + " 0 2 0]";
    }
    const DriverContext before = context;
    EXPECT_EQ(Read(16), DRV_OFFLINE);
    EXPECT_EQ(fakes::Calls(),
              Calls{"err: RavUDE : Can not connect to PLC 16, station list full (15 plc's in)"});
    EXPECT_EQ(std::memcmp(&before, &context, sizeof context), 0);

    fakes::ClearCalls();
    context.PlcTable[14].status = DRV_OFFLINE;  // the 15th reloads the full list
    context.activePlc = 0;
    ASSERT_EQ(Read(15), DRV_OK);
    const Calls calls = fakes::Calls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[1], LoadTool(entries, 15));
}

// The table search looks only at the entries in use, and a count the driver never wrote is
// capped at the list's room.
TEST_F(StationTest, OnlyEntriesInUseAreSearched) {
    context.PlcTable[20] = PlcEntry{9, DRV_OK};
    ASSERT_EQ(Read(9), DRV_OK);
    EXPECT_EQ(context.plcCount, 1);
    EXPECT_EQ(context.PlcTable[0].plc, 9);

    SetUp();
    context.plcCount = 200;
    EXPECT_EQ(Read(9), DRV_OFFLINE);
    EXPECT_EQ(fakes::Calls(),
              Calls{"err: RavUDE : Can not connect to PLC 9, station list full (15 plc's in)"});
}

}  // namespace
}  // namespace plc_test

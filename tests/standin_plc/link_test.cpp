// The link: which stations load_tool's list makes reachable, selection, the codes of each
// failure, fault injection and the trace.
#include <cstdio>
#include <string>
#include <thread>

#include "standin_test_support.h"

namespace standin_test {
namespace {

class LinkTest : public StandinTest {
  protected:
    void SetUp() override {
        StandinTest::SetUp();
        Load(
            "plc 2\n db 1 8\n"
            "plc 3\n slot 3\n db 1 8\n"
            "plc 4\n answering no\n db 1 8\n");
    }

    static int ReadByte() {
        uint8_t byte = 0;
        return d_field_read(1, 0, 1, &byte);
    }
};

TEST_F(LinkTest, NothingIsReachedBeforeTheLinkIsLoadedOrAfterItIsUnloaded) {
    uint8_t byte = 0;
    EXPECT_EQ(ReadByte(), S7_STANDIN_LINK_NOT_LOADED);
    EXPECT_EQ(select_station(1), S7_STANDIN_LINK_NOT_LOADED);
    EXPECT_EQ(m_write(0, 1, &byte), S7_STANDIN_LINK_NOT_LOADED);
    ASSERT_EQ(Link({{2, 2}}), 0);
    EXPECT_EQ(S7StandinLinkLoaded(), 1);
    EXPECT_EQ(ReadByte(), 0);
    EXPECT_EQ(unload_tool(), 0);
    EXPECT_EQ(unload_tool(), 0);  // unloading twice is harmless
    EXPECT_EQ(S7StandinLinkLoaded(), 0);
    EXPECT_EQ(ReadByte(), S7_STANDIN_LINK_NOT_LOADED);
}

TEST_F(LinkTest, LoadToolRefusesBadListsAndASecondLoad) {
    const uint8_t list[] = {2, 0, 2, 0, 127, 0, 2, 0, 0, 0, 0, 0};
    EXPECT_EQ(load_tool(0, 0, list), S7_STANDIN_BAD_STATION_LIST);
    EXPECT_EQ(load_tool(1, 0, nullptr), S7_STANDIN_BAD_STATION_LIST);
    EXPECT_EQ(load_tool(2, 0, list), S7_STANDIN_BAD_STATION_LIST);  // MPI address 127
    EXPECT_EQ(S7StandinLinkLoaded(), 0);
    EXPECT_EQ(load_tool(1, 0, list), 0);
    EXPECT_EQ(load_tool(1, 0, list), S7_STANDIN_ALREADY_LOADED);
}

// A station answers when the plant has it, it answers, and the list names its slot.
TEST_F(LinkTest, SelectReachesOnlyAnsweringStationsOfTheList) {
    ASSERT_EQ(Link({{2, 2}, {3, 3}, {4, 2}, {5, 2}, {3, 2}}), 0);
    EXPECT_EQ(S7StandinSelectedStation(), 2);  // the first station after a load
    struct Case {
        int position;
        int result;
        int selected;
    };
    const Case cases[] = {
        {2, 0, 3},
        {3, S7_STANDIN_STATION_NOT_ANSWERING, -1},  // present but not answering
        {1, 0, 2},
        {4, S7_STANDIN_STATION_NOT_ANSWERING, -1},  // no PLC at MPI 5
        {5, S7_STANDIN_STATION_NOT_ANSWERING, -1},  // PLC 3 is in slot 3
        {0, S7_STANDIN_NOT_IN_LIST, -1},
        {6, S7_STANDIN_NOT_IN_LIST, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        EXPECT_EQ(select_station(c.position), c.result);
        EXPECT_EQ(S7StandinSelectedStation(), c.selected);
        EXPECT_EQ(ReadByte(), c.result == 0 ? 0 : S7_STANDIN_STATION_NOT_ANSWERING);
    }
}

TEST_F(LinkTest, AStationThatStopsAnsweringFailsItsAccesses) {
    ASSERT_EQ(Link({{2, 2}}), 0);
    EXPECT_EQ(S7StandinSetAnswering(2, 0), 0);
    EXPECT_EQ(ReadByte(), S7_STANDIN_STATION_NOT_ANSWERING);
    EXPECT_EQ(S7StandinSetAnswering(2, 1), 0);
    EXPECT_EQ(ReadByte(), 0);
    EXPECT_EQ(S7StandinSetAnswering(9, 1), -1);
}

TEST_F(LinkTest, InjectedFailuresHitTheNextCallsButNotUnload) {
    ASSERT_EQ(Link({{2, 2}}), 0);
    S7StandinFailNextCalls(2, 0x1234);
    EXPECT_EQ(unload_tool(), 0);
    EXPECT_EQ(Link({{2, 2}}), 0x1234);
    EXPECT_EQ(S7StandinLinkLoaded(), 0);
    EXPECT_EQ(Link({{2, 2}}), 0x1234);
    EXPECT_EQ(Link({{2, 2}}), 0);
    EXPECT_EQ(ReadByte(), 0);

    S7StandinFailNextCalls(5, 0x4002);
    S7StandinFailNextCalls(0, 0);
    EXPECT_EQ(ReadByte(), 0);
}

TEST_F(LinkTest, TraceShowsEachCallWithItsResult) {
    std::FILE* trace = std::tmpfile();
    ASSERT_NE(trace, nullptr);
    S7StandinSetTraceStream(trace);
    ASSERT_EQ(Link({{2, 2}}), 0);
    uint8_t bytes[] = {0x12, 0x34};
    EXPECT_EQ(d_field_write(1, 2, 2, bytes), 0);
    int words = 1;
    EXPECT_EQ(db_write(1, 2, &words, bytes), 0);
    EXPECT_EQ(d_field_read(1, 7, 2, bytes), S7_STANDIN_PAST_DATA_BLOCK_END);
    EXPECT_EQ(d_field_read(1, 3, 2, bytes), 0);
    S7StandinSetTraceStream(nullptr);

    std::rewind(trace);
    std::string text;
    char line[256];
    while (std::fgets(line, sizeof line, trace) != nullptr) text += line;
    std::fclose(trace);
    EXPECT_EQ(text,
              "w95_s7: unload_tool() = 0\n"
              "w95_s7: load_tool(1, 0, [2 0 2 0]) = 0\n"
              "w95_s7: d_field_write(1, 2, 2, [12 34]) = 0\n"
              "w95_s7: db_write(1, 2, 1, [12 34]) = 0\n"
              "w95_s7: d_field_read(1, 7, 2) = 0x8501\n"
              "w95_s7: d_field_read(1, 3, 2) = 0 [34 12]\n");
}

// The host's request thread and the driver's worker thread call at the same time.
TEST_F(LinkTest, CallsFromTwoThreadsAreSerialised) {
    std::thread unloader([] {
        for (int i = 0; i < 2000; ++i) {
            unload_tool();
            S7StandinSelectedStation();
        }
    });
    for (int i = 0; i < 2000; ++i) {
        Link({{2, 2}});
        const int rc = ReadByte();
        EXPECT_TRUE(rc == 0 || rc == S7_STANDIN_LINK_NOT_LOADED) << rc;
    }
    unloader.join();
}

}  // namespace
}  // namespace standin_test

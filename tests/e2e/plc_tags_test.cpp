// Tags of every data kind defined with OP_PARSE, written and read back through the simulated
// PLCs, with the PLC's own bytes checked in between; and the library's failures as the host
// sees them. One instance and one connection to PLC 2 serve the whole suite.
#include <cstring>
#include <string>
#include <vector>

#include "e2e_host.h"

namespace e2e {
namespace {

using Bytes = std::vector<uint8_t>;
using Lines = std::vector<std::string>;

constexpr int32_t kOrdinary = 1;

const char kPlant[] =
    "plc 2\n"
    " inputs 16\n outputs 16\n markers 32\n"
    " db 10 200\n"
    "plc 3\n"
    " db 10 8\n";

class PlcTags : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        S7StandinReset();
        char error[200] = "";
        ASSERT_EQ(S7StandinLoadText(kPlant, error, sizeof error), 0) << error;
        host_ = new Host;
        ASSERT_EQ(host_->Init(1), DRV_OK);
    }
    static void TearDownTestSuite() {
        delete host_;
        host_ = nullptr;
    }

    static Bytes PlcBytes(int area, int db, int start, int count) {
        Bytes bytes(static_cast<size_t>(count));
        EXPECT_EQ(S7StandinReadBytes(2, area, db, start, count, bytes.data()), 0);
        return bytes;
    }

    static Host& host() { return *host_; }

    static Host* host_;
};

Host* PlcTags::host_ = nullptr;

TEST_F(PlcTags, SixteenBitKindsRoundTrip) {
    struct Case {
        const char* address;
        int area;
        int plcStart;
        std::vector<uint16_t> values;
        Bytes plcBytes;
        std::vector<uint16_t> readBack;  // bytes come back zero-extended
    };
    const Case cases[] = {
        {"02DB0100007",
         S7_STANDIN_DATA_BLOCK,
         7,
         {0x0112, 0x00FF, 0x0080},
         {0x12, 0xFF, 0x80},
         {0x12, 0xFF, 0x80}},
        {"02DW0100020",
         S7_STANDIN_DATA_BLOCK,
         20,
         {0x1234, 0xFFFF},
         {0x12, 0x34, 0xFF, 0xFF},
         {0x1234, 0xFFFF}},
        {"02DW0100031", S7_STANDIN_DATA_BLOCK, 31, {0xBEEF}, {0xBE, 0xEF}, {0xBEEF}},
        {"02XW010003C", S7_STANDIN_DATA_BLOCK, 60, {0x0A0B}, {0x0A, 0x0B}, {0x0A0B}},
        {"02QB0004", S7_STANDIN_OUTPUTS, 4, {0x01, 0x0302}, {0x01, 0x02}, {0x01, 0x02}},
        {"02MB0012", S7_STANDIN_MARKERS, 12, {0xA5}, {0xA5}, {0xA5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        TagTransfer tag = host().Define(c.address, kOrdinary);
        std::vector<uint16_t> values = c.values;
        const auto count = static_cast<int32_t>(values.size());
        ASSERT_EQ(host().Run(OP_WRITE_BLOCK, tag, count, values.data()), DRV_OK);
        EXPECT_EQ(PlcBytes(c.area, 10, c.plcStart, static_cast<int>(c.plcBytes.size())),
                  c.plcBytes);
        std::vector<uint16_t> back(values.size() + 1, 0xEEEE);
        ASSERT_EQ(host().Run(OP_READ_BLOCK, tag, count, back.data()), DRV_OK);
        back.pop_back();
        EXPECT_EQ(back, c.readBack);
    }
}

TEST_F(PlcTags, InputsAreReadAsTheFieldSetsThem) {
    const uint8_t field[] = {0x5A, 0x80};
    ASSERT_EQ(S7StandinWriteBytes(2, S7_STANDIN_INPUTS, 0, 3, 2, field), 0);
    TagTransfer tag = host().Define("02IB0003", kOrdinary);
    uint16_t values[2] = {};
    ASSERT_EQ(host().Run(OP_READ_BLOCK, tag, 2, values), DRV_OK);
    EXPECT_EQ(values[0], 0x5A);
    EXPECT_EQ(values[1], 0x80);

    TagTransfer bit = host().Define("02IB000407", HOST_TYPE_BIT);
    ASSERT_EQ(host().Run(OP_READ_ONE, bit, 1, values), DRV_OK);
    EXPECT_EQ(values[1], 1);
}

TEST_F(PlcTags, DoubleWordsAndFloatsRoundTrip) {
    struct Case {
        const char* address;
        int32_t hostType;
        int plcStart;
        uint32_t values[2];
        Bytes plcBytes;
    };
    const Case cases[] = {
        {"02DD0100040",
         HOST_TYPE_SIGNED32,
         40,
         {0x89ABCDEF, 1},
         {0x89, 0xAB, 0xCD, 0xEF, 0, 0, 0, 1}},
        {"02DD0100050",
         HOST_TYPE_UNSIGNED32,
         50,
         {0xFFFFFFFE, 0x10203040},
         {0xFF, 0xFF, 0xFF, 0xFE, 0x10, 0x20, 0x30, 0x40}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        TagTransfer tag = host().Define(c.address, c.hostType);
        uint32_t values[2] = {c.values[0], c.values[1]};
        ASSERT_EQ(host().Run(OP_WRITE_BLOCK, tag, 2, values), DRV_OK);
        EXPECT_EQ(PlcBytes(S7_STANDIN_DATA_BLOCK, 10, c.plcStart, 8), c.plcBytes);
        uint32_t back[2] = {};
        ASSERT_EQ(host().Run(OP_READ_BLOCK, tag, 2, back), DRV_OK);
        EXPECT_EQ(back[0], c.values[0]);
        EXPECT_EQ(back[1], c.values[1]);
    }

    for (const auto& [address, start] :
         {std::pair{"02DF0100064", 64}, std::pair{"02DF0100074", 74}}) {
        SCOPED_TRACE(address);
        TagTransfer tag = host().Define(address, HOST_TYPE_FLOAT);
        float values[2] = {1.5f, -0.25f};
        ASSERT_EQ(host().Run(OP_WRITE_BLOCK, tag, 2, values), DRV_OK);
        EXPECT_EQ(PlcBytes(S7_STANDIN_DATA_BLOCK, 10, start, 8),
                  (Bytes{0x3F, 0xC0, 0, 0, 0xBE, 0x80, 0, 0}));
        float back[2] = {};
        ASSERT_EQ(host().Run(OP_READ_BLOCK, tag, 2, back), DRV_OK);
        EXPECT_EQ(back[0], 1.5f);
        EXPECT_EQ(back[1], -0.25f);
    }
}

TEST_F(PlcTags, StringRoundTripsInThePlcStoredForm) {
    TagTransfer tag = host().Define("02DS010010020", HOST_TYPE_STRING);
    char text[] = "Hello PLC";
    ASSERT_EQ(host().Run(OP_WRITE_BLOCK, tag, 1, text), DRV_OK);
    Bytes stored = {20, 9, 'H', 'e', 'l', 'l', 'o', ' ', 'P', 'L', 'C'};
    stored.resize(22, 0);
    EXPECT_EQ(PlcBytes(S7_STANDIN_DATA_BLOCK, 10, 100, 22), stored);
    char back[21] = {};
    ASSERT_EQ(host().Run(OP_READ_BLOCK, tag, 1, back), DRV_OK);
    EXPECT_EQ(std::string(back), "Hello PLC");
}

TEST_F(PlcTags, BitsAreReadAndChangedOneAtATime) {
    struct Case {
        const char* address;
        int area;
        int plcStart;
        Bytes before;
        Bytes set;  // after writing 1; writing 0 gives before again
    };
    const Case cases[] = {
        {"02DW010008005", S7_STANDIN_DATA_BLOCK, 80, {0x81, 0x01}, {0x81, 0x21}},
        {"02DW010008115", S7_STANDIN_DATA_BLOCK, 81, {0x01, 0x00}, {0x81, 0x00}},
        {"02DB010009002", S7_STANDIN_DATA_BLOCK, 90, {0xF0}, {0xF4}},
        {"02MB001003", S7_STANDIN_MARKERS, 10, {0x01}, {0x09}},
        {"02QB000707", S7_STANDIN_OUTPUTS, 7, {0x00}, {0x80}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        ASSERT_EQ(S7StandinWriteBytes(2, c.area, 10, c.plcStart, static_cast<int>(c.before.size()),
                                      c.before.data()),
                  0);
        TagTransfer tag = host().Define(c.address, HOST_TYPE_BIT);
        uint16_t values[2] = {0x5555, 0xAAAA};
        ASSERT_EQ(host().Run(OP_READ_ONE, tag, 1, values), DRV_OK);
        EXPECT_EQ(values[1], 0);

        values[1] = 1;
        ASSERT_EQ(host().Run(OP_WRITE_ONE, tag, 1, values), DRV_OK);
        EXPECT_EQ(PlcBytes(c.area, 10, c.plcStart, static_cast<int>(c.set.size())), c.set);
        EXPECT_EQ(values[1], 1);
        EXPECT_EQ(tag.values, values);
        ASSERT_EQ(host().Run(OP_READ_ONE, tag, 1, values), DRV_OK);
        EXPECT_EQ(values[1], 1);

        values[1] = 0;
        ASSERT_EQ(host().Run(OP_WRITE_ONE, tag, 1, values), DRV_OK);
        EXPECT_EQ(PlcBytes(c.area, 10, c.plcStart, static_cast<int>(c.before.size())), c.before);
        EXPECT_EQ(values[0], 0x5555);
    }
}

// Library failures as the host sees them: the messages, the results, the next connection.
TEST_F(PlcTags, LibraryFailuresReachTheHost) {
    CapturedLog log;
    uint16_t values[2] = {};
    TagTransfer word = host().Define("02DW0100000", kOrdinary);
    ASSERT_EQ(host().Run(OP_READ_BLOCK, word, 1, values), DRV_OK);  // PLC 2 connected

    TagTransfer missing = host().Define("02DW0990000", kOrdinary);
    log.Clear();
    EXPECT_EQ(host().Run(OP_READ_BLOCK, missing, 1, values), DRV_FAILED);
    EXPECT_EQ(log.Lines(), (Lines{"w95_s7: d_field_read(99, 0, 2) = 0x8500",
                                  "RavUDE : db_read failed (Plc#2,db=99,Addr=0),rc=8500",
                                  "w95_s7: d_field_read(99, 0, 2) = 0x8500",
                                  "RavUDE : db_read failed (Plc#2,db=99,Addr=0),rc=8500"}));

    TagTransfer pastEnd = host().Define("02DB0100199", kOrdinary);
    log.Clear();
    EXPECT_EQ(host().Run(OP_WRITE_BLOCK, pastEnd, 2, values), DRV_FAILED);
    const std::string write = "w95_s7: d_field_write(10, 199, 2, [00 00]) = 0x8501";
    const std::string message = "RavUDE : d_field_write failed (db=10,Addr=199),rc=8501";
    EXPECT_EQ(log.Lines(), (Lines{"w95_s7: select_station(1) = 0",  // failed before: select again
                                  write, message, write, message}));

    // A PLC that is not on the network: the link is loaded with both stations, the select
    // fails, and PLC 2 is selected again on its next request.
    TagTransfer absent = host().Define("04DW0100000", kOrdinary);
    log.Clear();
    EXPECT_EQ(host().Run(OP_READ_BLOCK, absent, 1, values), DRV_OFFLINE);
    const std::string load = "w95_s7: load_tool(2, 0, [2 0 2 0][4 0 2 0]) = 0";
    EXPECT_EQ(log.Lines(), (Lines{"w95_s7: unload_tool() = 0", load, "w95_s7: unload_tool() = 0",
                                  load, "w95_s7: select_station(2) = 0x4002",
                                  "RavUDE : Can not connect to PLC 4 (rc=4002)"}));
    log.Clear();
    EXPECT_EQ(host().Run(OP_READ_BLOCK, word, 1, values), DRV_OK);
    EXPECT_EQ(log.Lines(), (Lines{"w95_s7: select_station(1) = 0",
                                  "w95_s7: d_field_read(10, 0, 2) = 0 [00 00]"}));

    // A PLC that stops answering is offline; once it answers, the next request reconnects.
    ASSERT_EQ(S7StandinSetAnswering(2, 0), 0);
    log.Clear();
    EXPECT_EQ(host().Run(OP_READ_BLOCK, word, 1, values), DRV_OFFLINE);
    EXPECT_EQ(log.Lines()[1], "RavUDE : db_read failed (Plc#2,db=10,Addr=0),rc=4002");
    ASSERT_EQ(S7StandinSetAnswering(2, 1), 0);
    log.Clear();
    EXPECT_EQ(host().Run(OP_READ_BLOCK, word, 1, values), DRV_OK);
    EXPECT_EQ(log.Lines()[log.Lines().size() - 2], "RavUDE : Connect to PLC 2 Success !");
}

}  // namespace
}  // namespace e2e

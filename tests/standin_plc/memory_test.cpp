// Reads and writes of the selected station's memory: bounds, error codes, data words, REALs.
#include <string>

#include "standin_test_support.h"

namespace standin_test {
namespace {

using Bytes = std::vector<uint8_t>;

class MemoryTest : public StandinTest {
  protected:
    void SetUp() override {
        StandinTest::SetUp();
        Load(
            "plc 2\n inputs 8\n outputs 8\n markers 16\n db 1 10\n db 7 4\n"
            "plc 3\n db 1 10\n bytes DB1.0 33 33\n");
        ASSERT_EQ(Link({{2, 2}, {3, 2}}), 0);
    }
};

TEST_F(MemoryTest, EachAccessReachesItsAreaUpToTheLastByte) {
    struct Case {
        const char* name;
        int (*access)(uint8_t* buffer, int start, int count);
        int size;
        int pastEnd;
    };
    const Case cases[] = {
        {"e_read", [](uint8_t* b, int s, int n) { return e_read(s, n, b); }, 8,
         S7_STANDIN_PAST_AREA_END},
        {"a_read", [](uint8_t* b, int s, int n) { return a_read(s, n, b); }, 8,
         S7_STANDIN_PAST_AREA_END},
        {"m_read", [](uint8_t* b, int s, int n) { return m_read(s, n, b); }, 16,
         S7_STANDIN_PAST_AREA_END},
        {"a_write", [](uint8_t* b, int s, int n) { return a_write(s, n, b); }, 8,
         S7_STANDIN_PAST_AREA_END},
        {"m_write", [](uint8_t* b, int s, int n) { return m_write(s, n, b); }, 16,
         S7_STANDIN_PAST_AREA_END},
        {"d_field_read", [](uint8_t* b, int s, int n) { return d_field_read(1, s, n, b); }, 10,
         S7_STANDIN_PAST_DATA_BLOCK_END},
        {"d_field_write", [](uint8_t* b, int s, int n) { return d_field_write(1, s, n, b); }, 10,
         S7_STANDIN_PAST_DATA_BLOCK_END},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        uint8_t buffer[32] = {};
        EXPECT_EQ(c.access(buffer, 0, c.size), 0);
        EXPECT_EQ(c.access(buffer, c.size - 1, 1), 0);
        EXPECT_EQ(c.access(buffer, c.size, 1), c.pastEnd);
        EXPECT_EQ(c.access(buffer, c.size - 1, 2), c.pastEnd);
        EXPECT_EQ(c.access(buffer, 0, 0), S7_STANDIN_BAD_ARGUMENT);
        EXPECT_EQ(c.access(buffer, -1, 1), S7_STANDIN_BAD_ARGUMENT);
        EXPECT_EQ(c.access(nullptr, 0, 1), S7_STANDIN_BAD_ARGUMENT);
    }
}

TEST_F(MemoryTest, MissingDataBlockHasItsOwnCode) {
    uint8_t bytes[2] = {};
    int words = 1;
    EXPECT_EQ(d_field_read(2, 0, 1, bytes), S7_STANDIN_NO_DATA_BLOCK);
    EXPECT_EQ(d_field_write(2, 0, 1, bytes), S7_STANDIN_NO_DATA_BLOCK);
    EXPECT_EQ(db_write(2, 0, &words, bytes), S7_STANDIN_NO_DATA_BLOCK);
}

// db_write counts in data words of 2 bytes.
TEST_F(MemoryTest, DbWriteAddressesDataWords) {
    const uint8_t bytes[] = {0x11, 0x22, 0x33, 0x44};
    int words = 2;
    EXPECT_EQ(db_write(1, 3, &words, const_cast<uint8_t*>(bytes)), 0);
    EXPECT_EQ(Peek(2, S7_STANDIN_DATA_BLOCK, 1, 4, 6), (Bytes{0, 0, 0x11, 0x22, 0x33, 0x44}));
    EXPECT_EQ(db_write(1, 4, &words, const_cast<uint8_t*>(bytes)), S7_STANDIN_PAST_DATA_BLOCK_END);
    EXPECT_EQ(db_write(1, 0, nullptr, const_cast<uint8_t*>(bytes)), S7_STANDIN_BAD_ARGUMENT);
    words = 0;
    EXPECT_EQ(db_write(1, 0, &words, const_cast<uint8_t*>(bytes)), S7_STANDIN_BAD_ARGUMENT);
}

TEST_F(MemoryTest, EachStationHasItsOwnMemory) {
    uint8_t bytes[] = {0xAA, 0xBB};
    EXPECT_EQ(d_field_write(1, 0, 2, bytes), 0);
    ASSERT_EQ(select_station(2), 0);
    EXPECT_EQ(d_field_read(1, 0, 2, bytes), 0);
    EXPECT_EQ(Bytes(bytes, bytes + 2), (Bytes{0x33, 0x33}));
    EXPECT_EQ(Peek(2, S7_STANDIN_DATA_BLOCK, 1, 0, 2), (Bytes{0xAA, 0xBB}));
}

// The host program sets inputs as the field would; the driver only reads them.
TEST_F(MemoryTest, HostProgramWritesInputs) {
    const uint8_t field[] = {0x81};
    EXPECT_EQ(S7StandinWriteBytes(2, S7_STANDIN_INPUTS, 0, 7, 1, field), 0);
    uint8_t byte = 0;
    EXPECT_EQ(e_read(7, 1, &byte), 0);
    EXPECT_EQ(byte, 0x81);
    EXPECT_EQ(S7StandinWriteBytes(2, S7_STANDIN_INPUTS, 0, 8, 1, field), S7_STANDIN_PAST_AREA_END);
    EXPECT_EQ(S7StandinWriteBytes(2, 'X', 0, 0, 1, field), S7_STANDIN_BAD_ARGUMENT);
    EXPECT_EQ(S7StandinWriteBytes(9, S7_STANDIN_INPUTS, 0, 0, 1, field),
              S7_STANDIN_STATION_NOT_ANSWERING);
}

TEST_F(MemoryTest, RealsAreIeeeSinglesMostSignificantByteFirst) {
    Load("plc 2\n db 1 8\n real DB1.0 -10.0\n real DB1.4 0.15625");
    uint8_t bytes[8] = {};
    ASSERT_EQ(d_field_read(1, 0, 8, bytes), 0);
    EXPECT_EQ(Bytes(bytes, bytes + 8), (Bytes{0xC1, 0x20, 0, 0, 0x3E, 0x20, 0, 0}));
    float value = 0;
    plc_real_to_float(bytes, &value);
    EXPECT_EQ(value, -10.0f);
    plc_real_to_float(bytes + 4, &value);
    EXPECT_EQ(value, 0.15625f);
    uint8_t back[4] = {};
    float_to_plc_real(&value, back);
    EXPECT_EQ(Bytes(back, back + 4), (Bytes{0x3E, 0x20, 0, 0}));
}

}  // namespace
}  // namespace standin_test

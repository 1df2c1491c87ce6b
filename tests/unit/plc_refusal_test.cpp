// Requests no parsed tag can produce are refused before any library call: DRV_FAILED, one
// log line, no station switch, no outcome, nothing written outside the transfer buffers.
#include <cstring>
#include <string>
#include <vector>

#include "plc_test_fixture.h"

namespace plc_test {
namespace {

using Calls = std::vector<std::string>;

const int32_t kAllOperations[] = {OP_READ_BLOCK, OP_READ_ONE, OP_WRITE_BLOCK, OP_WRITE_ONE};

class RefusalTest : public PlcTest {
  protected:
    void SetUp() override {
        PlcTest::SetUp();
        Selected(1);
        std::memset(values, 0x5A, sizeof values);
    }

    uint8_t values[1200];
};

TEST_F(RefusalTest, MalformedRequestsAreRefusedWithOneLineAndNoLibraryCall) {
    struct Case {
        TagAddress tag;
        int count;
        const char* addressText;
        std::string line;
        bool singleValueToo;  // the single-value operations refuse it as well (count 1)
    };
    const Case cases[] = {
        {Tag(1, ACCESS_BYTE, 10, 0), 0, nullptr,
         "RavUDE : element count 0 refused (Plc#1), 1 to 520 fit the 520-byte buffer", false},
        {Tag(1, ACCESS_WORD_EVEN, 10, 0), -3, nullptr,
         "RavUDE : element count -3 refused (Plc#1), 1 to 260 fit the 520-byte buffer", false},
        {Tag(1, ACCESS_BYTE, 10, 0), 521, nullptr,
         "RavUDE : element count 521 refused (Plc#1), 1 to 520 fit the 520-byte buffer", false},
        {Tag(1, ACCESS_WORD_ODD, 10, 0), 261, nullptr,
         "RavUDE : element count 261 refused (Plc#1), 1 to 260 fit the 520-byte buffer", false},
        {Tag(1, ACCESS_DWORD_HIGH, 10, 0), 131, nullptr,
         "RavUDE : element count 131 refused (Plc#1), 1 to 130 fit the 520-byte buffer", false},
        {Tag(1, ACCESS_FLOAT, 10, 0), 1000000, nullptr,
         "RavUDE : element count 1000000 refused (Plc#1), 1 to 130 fit the 520-byte buffer", false},
        {Tag(1, ACCESS_MARKER, 0, 0), 261, nullptr,
         "RavUDE : element count 261 refused (Plc#1), 1 to 260 fit the 260-byte buffer", false},
        {Tag(1, ACCESS_INPUT, 0, 0), 0, nullptr,
         "RavUDE : element count 0 refused (Plc#1), 1 to 260 fit the 260-byte buffer", false},
        {Tag(1, ACCESS_STRING, 10, 20), 1, "01DS010002000",
         "RavUDE : string length 0 refused (Plc#1), 1 to 518 fit the 520-byte buffer", true},
        {Tag(1, ACCESS_STRING, 10, 20), 1, "01DS",
         "RavUDE : string length 0 refused (Plc#1), 1 to 518 fit the 520-byte buffer", true},
        {Tag(1, ACCESS_STRING, 10, 20), 1, nullptr,
         "RavUDE : string tag without address text refused (Plc#1)", true},
        {Tag(1, 'X', 10, 0), 1, nullptr, "RavUDE : access code 0x58 refused (Plc#1)", true},
        {Tag(1, 2, 10, 0), 1, nullptr, "RavUDE : access code 0x2 refused (Plc#1)", true},
        {Tag(100, ACCESS_BYTE, 10, 0), 1, nullptr,
         "RavUDE : PLC number 100 refused, 0 to 99 allowed", true},
        {Tag(257, ACCESS_BYTE, 10, 0), 1, nullptr,
         "RavUDE : PLC number 257 refused, 0 to 99 allowed", true},
        {Tag(-1, ACCESS_BYTE, 10, 0), 1, nullptr, "RavUDE : PLC number -1 refused, 0 to 99 allowed",
         true},
    };
    for (const Case& c : cases) {
        for (int32_t operation : kAllOperations) {
            const bool single = operation == OP_READ_ONE || operation == OP_WRITE_ONE;
            if (single && !c.singleValueToo) continue;
            SCOPED_TRACE(testing::Message() << c.line << " / operation " << operation);
            SetUp();
            const DriverContext before = context;
            EXPECT_EQ(Run(operation, c.tag, c.count, values, c.addressText), DRV_FAILED);
            EXPECT_EQ(fakes::Calls(), Calls{"err: " + c.line});
            EXPECT_EQ(std::memcmp(&before, &context, sizeof context), 0);
            EXPECT_EQ(transfer.values, values);
            EXPECT_EQ(transfer.tag.bitNumber, c.tag.bitNumber);
            EXPECT_EQ(transfer.elementCount, single ? 1 : c.count);
            for (uint8_t byte : values) ASSERT_EQ(byte, 0x5A);
        }
    }
}

TEST_F(RefusalTest, RequestWithoutValueArrayIsRefused) {
    for (int32_t operation : kAllOperations) {
        SCOPED_TRACE(operation);
        SetUp();
        EXPECT_EQ(Run(operation, Tag(1, ACCESS_WORD_EVEN, 10, 0, 3), 1, nullptr), DRV_FAILED);
        EXPECT_EQ(fakes::Calls(),
                  Calls{"err: RavUDE : request without value array refused (Plc#1)"});
    }
}

// The single-value operations shift and mask by the bit number: only 0 to 15 on a kind with
// 16-bit elements, or 255 for none.
TEST_F(RefusalTest, BitNumbersNoTagCarriesAreRefusedByTheSingleValueOperations) {
    struct Case {
        int32_t accessCode;
        int bit;
    };
    const Case cases[] = {{ACCESS_WORD_EVEN, 16}, {ACCESS_BYTE, -1}, {ACCESS_MARKER, 1000},
                          {ACCESS_FLOAT, 3},      {ACCESS_DWORD, 0}, {ACCESS_STRING, 1}};
    for (const Case& c : cases) {
        for (int32_t operation : {OP_READ_ONE, OP_WRITE_ONE}) {
            SCOPED_TRACE(testing::Message()
                         << c.accessCode << " bit " << c.bit << " / " << operation);
            SetUp();
            EXPECT_EQ(
                Run(operation, Tag(1, c.accessCode, 10, 0, c.bit), 1, values, "01DS010000010"),
                DRV_FAILED);
            EXPECT_EQ(fakes::Calls(), Calls{"err: RavUDE : bit number " + std::to_string(c.bit) +
                                            " refused (Plc#1)"});
            EXPECT_EQ(transfer.tag.bitNumber, c.bit);
        }
    }
}

// The largest blocks that fit are carried out with one call each way.
TEST_F(RefusalTest, BlocksThatJustFitTheBufferAreCarriedOut) {
    struct Case {
        TagAddress tag;
        int count;
        const char* addressText;
        std::string read;
        std::string write;  // the start of the write call
    };
    const Case cases[] = {
        {Tag(1, ACCESS_BYTE, 10, 0), 520, nullptr, "d_field_read(10, 0, 520)",
         "d_field_write(10, 0, 520, "},
        {Tag(1, ACCESS_WORD_ODD, 10, 0), 260, nullptr, "d_field_read(10, 1, 520)",
         "d_field_write(10, 1, 520, "},
        {Tag(1, ACCESS_DWORD, 10, 0), 130, nullptr, "d_field_read(10, 0, 520)",
         "db_write(10, 0, 260, "},
        {Tag(1, ACCESS_FLOAT_HIGH, 10, 0), 130, nullptr, "d_field_read(10, 2, 520)",
         "db_write(10, 1, 260, "},
        {Tag(1, ACCESS_OUTPUT, 0, 0), 260, nullptr, "a_read(0, 260)", "a_write(0, 260, "},
        {Tag(1, ACCESS_MARKER, 0, 0), 260, nullptr, "m_read(0, 260)", "m_write(0, 260, "},
        {Tag(1, ACCESS_STRING, 10, 4), 0, "01DS010000499", "d_field_read(10, 4, 101)",
         "d_field_write(10, 4, 101, "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.read);
        SetUp();
        EXPECT_EQ(Run(OP_READ_BLOCK, c.tag, c.count, values, c.addressText), DRV_OK);
        EXPECT_EQ(fakes::CallsStartingWith(c.read.substr(0, 6)), Calls{c.read});
        fakes::ClearCalls();
        EXPECT_EQ(Run(OP_WRITE_BLOCK, c.tag, c.count, values, c.addressText), DRV_OK);
        const Calls writes = fakes::CallsStartingWith(c.write);
        EXPECT_EQ(writes.size(), 1u);
    }
}

}  // namespace
}  // namespace plc_test

// OP_READ_BLOCK and OP_READ_ONE: library calls, byte order, retries, messages and outcomes.
#include <cstring>
#include <string>
#include <vector>

#include "plc_test_fixture.h"

namespace plc_test {
namespace {

using fakes::PlcArea;
using fakes::PlcCall;
using Calls = std::vector<std::string>;

constexpr uint16_t kUntouched = 0xABCD;

class ReadTest : public PlcTest {
  protected:
    void SetUp() override {
        PlcTest::SetUp();
        Selected(1);
        for (uint16_t& word : words) word = kUntouched;
    }

    uint16_t words[8];
};

bool IsAreaKind(int32_t accessCode) {
    return accessCode == ACCESS_INPUT || accessCode == ACCESS_OUTPUT || accessCode == ACCESS_MARKER;
}

// A tag of PLC 1: data block 10, or the input, output or marker area.
TagAddress TagOf(int32_t accessCode, int offset, int bit = kNoBit) {
    return Tag(1, accessCode, IsAreaKind(accessCode) ? 0 : 10, offset, bit);
}

void SetPlcBytes(int32_t accessCode, int start, const std::vector<uint8_t>& bytes) {
    switch (accessCode) {
        case ACCESS_INPUT:
            return fakes::SetAreaBytes(PlcArea::Inputs, start, bytes);
        case ACCESS_OUTPUT:
            return fakes::SetAreaBytes(PlcArea::Outputs, start, bytes);
        case ACCESS_MARKER:
            return fakes::SetAreaBytes(PlcArea::Markers, start, bytes);
        default:
            return fakes::SetDataBlockBytes(10, start, bytes);
    }
}

// Kinds with 16-bit host elements: one PLC byte zero-extended, or two PLC bytes high first.
TEST_F(ReadTest, SixteenBitKindsReadTheWholeBlockWithOneCall) {
    struct Case {
        int32_t accessCode;
        int offset;
        int count;
        int plcStart;
        std::vector<uint8_t> plcBytes;
        std::string call;
        std::vector<uint16_t> elements;
    };
    const Case cases[] = {
        {ACCESS_BYTE, 7, 2, 7, {0xFF, 0x80}, "d_field_read(10, 7, 2)", {0x00FF, 0x0080}},
        {ACCESS_WORD_EVEN, 10, 1, 20, {0x80, 0x01}, "d_field_read(10, 20, 2)", {0x8001}},
        {ACCESS_WORD_ODD,
         5,
         2,
         11,
         {0x12, 0x34, 0xFE, 0xDC},
         "d_field_read(10, 11, 4)",
         {0x1234, 0xFEDC}},
        {ACCESS_INPUT, 5, 3, 5, {1, 0xFF, 3}, "e_read(5, 3)", {1, 0xFF, 3}},
        {ACCESS_OUTPUT, 100, 1, 100, {0x81}, "a_read(100, 1)", {0x81}},
        {ACCESS_MARKER, 12, 2, 12, {0xF0, 0x0F}, "m_read(12, 2)", {0xF0, 0x0F}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        SetUp();
        SetPlcBytes(c.accessCode, c.plcStart, c.plcBytes);
        ASSERT_EQ(Run(OP_READ_BLOCK, TagOf(c.accessCode, c.offset), c.count, words), DRV_OK);
        EXPECT_EQ(fakes::Calls(), Calls{c.call});
        const std::vector<uint16_t> read(words, words + c.elements.size());
        EXPECT_EQ(read, c.elements);
        EXPECT_EQ(words[c.elements.size()], kUntouched);
        EXPECT_EQ(EntryOf(1).status, DRV_OK);
    }
}

TEST_F(ReadTest, DoubleWordsAreMostSignificantByteFirstWithoutSignExtension) {
    struct Case {
        int32_t accessCode;
        std::string call;
    };
    const Case cases[] = {{ACCESS_DWORD, "d_field_read(10, 12, 8)"},
                          {ACCESS_DWORD_HIGH, "d_field_read(10, 14, 8)"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        SetUp();
        const int start = c.accessCode == ACCESS_DWORD ? 12 : 14;
        fakes::SetDataBlockBytes(10, start, {0x80, 0, 0, 1, 0x11, 0x22, 0x33, 0x44});
        uint32_t dwords[3] = {0, 0, 0xABCDEF01};
        ASSERT_EQ(Run(OP_READ_BLOCK, Tag(1, c.accessCode, 10, 3), 2, dwords), DRV_OK);
        EXPECT_EQ(fakes::Calls(), Calls{c.call});
        EXPECT_EQ(dwords[0], 0x80000001u);
        EXPECT_EQ(dwords[1], 0x11223344u);
        EXPECT_EQ(dwords[2], 0xABCDEF01u);
    }
}

TEST_F(ReadTest, FloatsGoThroughTheLibraryConversionInElementOrder) {
    struct Case {
        int32_t accessCode;
        std::string read;
    };
    const Case cases[] = {{ACCESS_FLOAT, "d_field_read(10, 12, 8)"},
                          {ACCESS_FLOAT_HIGH, "d_field_read(10, 14, 8)"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.read);
        SetUp();
        const int start = c.accessCode == ACCESS_FLOAT ? 12 : 14;
        fakes::SetDataBlockBytes(10, start, {0x3F, 0xC0, 0, 0, 0xC1, 0x20, 0, 0});
        float floats[2] = {};
        ASSERT_EQ(Run(OP_READ_BLOCK, Tag(1, c.accessCode, 10, 3), 2, floats), DRV_OK);
        EXPECT_EQ(fakes::Calls(), (Calls{c.read, "plc_real_to_float([3F C0 00 00])",
                                         "plc_real_to_float([C1 20 00 00])"}));
        EXPECT_EQ(floats[0], 1.5f);
        EXPECT_EQ(floats[1], -10.0f);
    }
}

// The header bytes (maximum and current length) are skipped; the L characters are copied
// whatever the current length says, without a terminator.
TEST_F(ReadTest, StringReadsItsDeclaredLengthBehindTheHeader) {
    std::vector<uint8_t> stored = {10, 3, 'A', 'B', 'C', 0, 'x', 'y', 'z', '1', '2', '3'};
    fakes::SetDataBlockBytes(10, 20, stored);
    char text[12];
    std::memset(text, '#', sizeof text);
    ASSERT_EQ(Run(OP_READ_BLOCK, Tag(1, ACCESS_STRING, 10, 20), 99, text, "01DS010002010"), DRV_OK);
    EXPECT_EQ(fakes::Calls(), Calls{"d_field_read(10, 20, 12)"});
    EXPECT_EQ(std::string(text, 10), std::string("ABC\0xyz123", 10));
    EXPECT_EQ(text[10], '#');
}

TEST_F(ReadTest, EachKindRetriesOnceAndLogsEachFailedAttempt) {
    struct Case {
        int32_t accessCode;
        PlcCall call;
        std::string message;  // with rc=8500
    };
    const Case cases[] = {
        {ACCESS_BYTE, PlcCall::DFieldRead,
         "RavUDE : d_field_read failed (Plc#1,db=10,Addr=6),rc=8500"},
        {ACCESS_WORD_EVEN, PlcCall::DFieldRead,
         "RavUDE : db_read failed (Plc#1,db=10,Addr=12),rc=8500"},
        {ACCESS_WORD_ODD, PlcCall::DFieldRead,
         "RavUDE : db_read failed (Plc#1,db=10,Addr=13),rc=8500"},
        {ACCESS_DWORD, PlcCall::DFieldRead,
         "RavUDE : db_read failed (Plc#1,db=10,Addr=24),rc=8500"},
        {ACCESS_FLOAT_HIGH, PlcCall::DFieldRead,
         "RavUDE : db_read failed (Plc#1,db=10,Addr=26),rc=8500"},
        {ACCESS_STRING, PlcCall::DFieldRead,
         "RavUDE : db_read failed (Plc#1,db=10,Addr=6),rc=8500"},
        {ACCESS_INPUT, PlcCall::ERead, "RavUDE : e_read failed (Plc#1,Addr=6),rc=8500"},
        {ACCESS_OUTPUT, PlcCall::ARead, "RavUDE : a_read failed (Plc#1,Addr=6),rc=8500"},
        {ACCESS_MARKER, PlcCall::MRead, "RavUDE : m_read failed (Plc#1,Addr=6),rc=8500"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        // Both attempts fail; then the first fails and the second succeeds.
        SetUp();
        fakes::QueuePlcResults(c.call, {0x8500, 0x8500});
        EXPECT_EQ(Run(OP_READ_BLOCK, TagOf(c.accessCode, 6), 1, words, "01DS010000603"),
                  DRV_FAILED);
        EXPECT_EQ(fakes::LogLines(), (Calls{c.message, c.message}));
        EXPECT_EQ(words[0], kUntouched);
        EXPECT_EQ(EntryOf(1).status, DRV_FAILED);

        SetUp();
        fakes::QueuePlcResults(c.call, {0x8500, 0});
        EXPECT_EQ(Run(OP_READ_BLOCK, TagOf(c.accessCode, 6), 1, words, "01DS010000603"), DRV_OK);
        EXPECT_EQ(fakes::LogLines(), Calls{c.message});
        EXPECT_EQ(EntryOf(1).status, DRV_OK);
    }
}

TEST_F(ReadTest, OnlyTheUnreachableCodesMeanOffline) {
    struct Case {
        int code;
        int result;
    };
    const Case cases[] = {{0x4002, DRV_OFFLINE}, {0xFF10, DRV_OFFLINE}, {0x4001, DRV_FAILED},
                          {0xFF11, DRV_FAILED},  {1, DRV_FAILED},       {-1, DRV_FAILED}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        SetUp();
        fakes::SetPlcDefaultResult(PlcCall::MRead, c.code);
        EXPECT_EQ(Run(OP_READ_BLOCK, Tag(1, ACCESS_MARKER, 0, 6), 1, words), c.result);
        EXPECT_EQ(fakes::CallsStartingWith("m_read").size(), 2u);
        EXPECT_EQ(EntryOf(1).status, c.result);
    }
}

TEST_F(ReadTest, ReadOneExtractsTheBitIntoTheSecondElement) {
    struct Case {
        int32_t accessCode;
        int bit;
        std::vector<uint8_t> plcBytes;
        uint16_t element;
    };
    const Case cases[] = {
        {ACCESS_BYTE, 3, {0x08}, 1},
        {ACCESS_BYTE, 3, {0xF7}, 0},
        {ACCESS_INPUT, 7, {0x80}, 1},
        {ACCESS_MARKER, 0, {0xFE}, 0},
        {ACCESS_WORD_EVEN, 15, {0x80, 0}, 1},
        {ACCESS_WORD_ODD, 8, {0x01, 0x00}, 1},
        {ACCESS_WORD_EVEN, 0, {0x00, 0x01}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.accessCode << " bit " << c.bit);
        SetUp();
        SetPlcBytes(c.accessCode, c.accessCode == ACCESS_WORD_ODD ? 9 : 8, c.plcBytes);
        const int offset =
            c.accessCode == ACCESS_WORD_EVEN || c.accessCode == ACCESS_WORD_ODD ? 4 : 8;
        ASSERT_EQ(Run(OP_READ_ONE, TagOf(c.accessCode, offset, c.bit), 5, words), DRV_OK);
        EXPECT_EQ(words[0], kUntouched);
        EXPECT_EQ(words[1], c.element);
        EXPECT_EQ(transfer.elementCount, 1);
        EXPECT_EQ(transfer.values, words);
        EXPECT_EQ(transfer.tag.bitNumber, c.bit);
    }
}

TEST_F(ReadTest, ReadOneWithoutBitPlacesSixteenBitValuesSecondAndOthersFirst) {
    fakes::SetDataBlockBytes(10, 8, {0x12, 0x34, 0x56, 0x78});
    ASSERT_EQ(Run(OP_READ_ONE, Tag(1, ACCESS_WORD_EVEN, 10, 4), 3, words), DRV_OK);
    EXPECT_EQ(words[0], kUntouched);
    EXPECT_EQ(words[1], 0x1234);

    uint32_t dword[2] = {0, 0xABCDEF01};
    ASSERT_EQ(Run(OP_READ_ONE, Tag(1, ACCESS_DWORD, 10, 2), 3, dword), DRV_OK);
    EXPECT_EQ(dword[0], 0x12345678u);
    EXPECT_EQ(dword[1], 0xABCDEF01u);
    EXPECT_EQ(fakes::Calls(),
              (Calls{"d_field_read(10, 8, 2)", "d_field_read(10, 8, 4)"}));  // one element each

    fakes::SetDataBlockBytes(10, 24, {0x3F, 0xC0, 0, 0});
    float value[2] = {0, 7.0f};
    ASSERT_EQ(Run(OP_READ_ONE, Tag(1, ACCESS_FLOAT, 10, 6), 2, value), DRV_OK);
    EXPECT_EQ(value[0], 1.5f);
    EXPECT_EQ(value[1], 7.0f);
}

// The host looks at the result first; the element is shifted and masked all the same.
TEST_F(ReadTest, ReadOneOnAFailedBitReadStillMasksTheElement) {
    fakes::SetPlcDefaultResult(PlcCall::DFieldRead, 0x4002);
    words[1] = 0x0010;
    EXPECT_EQ(Run(OP_READ_ONE, Tag(1, ACCESS_BYTE, 10, 8, 4), 1, words), DRV_OFFLINE);
    EXPECT_EQ(words[1], 1);
    EXPECT_EQ(transfer.values, words);
}

TEST_F(ReadTest, RefusedStationReadsNothingAndRecordsNothing) {
    SetShutdown(context, 1);
    EXPECT_EQ(Run(OP_READ_BLOCK, Tag(1, ACCESS_BYTE, 10, 8), 1, words), DRV_OFFLINE);
    EXPECT_TRUE(fakes::CallsStartingWith("d_field_read").empty());
    EXPECT_EQ(words[0], kUntouched);
    EXPECT_EQ(EntryOf(1).status, DRV_OK);
}

}  // namespace
}  // namespace plc_test

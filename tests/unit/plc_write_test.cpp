// OP_WRITE_BLOCK and OP_WRITE_ONE: the PLC bytes, start addresses and amounts of each kind,
// retries, messages, outcomes, and the read-modify-write of a bit.
#include <cstring>
#include <string>
#include <vector>

#include "plc_test_fixture.h"

namespace plc_test {
namespace {

using fakes::PlcCall;
using Calls = std::vector<std::string>;

class WriteTest : public PlcTest {
  protected:
    void SetUp() override {
        PlcTest::SetUp();
        Selected(1);
    }
};

bool IsAreaKind(int32_t accessCode) {
    return accessCode == ACCESS_INPUT || accessCode == ACCESS_OUTPUT || accessCode == ACCESS_MARKER;
}

TagAddress TagOf(int32_t accessCode, int offset, int bit = kNoBit) {
    return Tag(1, accessCode, IsAreaKind(accessCode) ? 0 : 10, offset, bit);
}

TEST_F(WriteTest, SixteenBitKindsSendTheirBytesHighFirstOrLowByteOnly) {
    struct Case {
        int32_t accessCode;
        int offset;
        std::string call;
    };
    const Case cases[] = {
        {ACCESS_WORD_EVEN, 5, "d_field_write(10, 10, 4, [12 34 00 FF])"},
        {ACCESS_WORD_ODD, 5, "d_field_write(10, 11, 4, [12 34 00 FF])"},
        {ACCESS_BYTE, 7, "d_field_write(10, 7, 2, [34 FF])"},
        {ACCESS_OUTPUT, 100, "a_write(100, 2, [34 FF])"},
        {ACCESS_MARKER, 12, "m_write(12, 2, [34 FF])"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        SetUp();
        uint16_t words[] = {0x1234, 0x00FF};
        ASSERT_EQ(Run(OP_WRITE_BLOCK, TagOf(c.accessCode, c.offset), 2, words), DRV_OK);
        EXPECT_EQ(fakes::Calls(), Calls{c.call});
        EXPECT_EQ(EntryOf(1).status, DRV_OK);
    }
}

TEST_F(WriteTest, DoubleWordsGoByDataWordMostSignificantByteFirst) {
    struct Case {
        int32_t accessCode;
        std::string call;
    };
    const Case cases[] = {{ACCESS_DWORD, "db_write(10, 6, 4, [11 22 33 44 80 00 00 01])"},
                          {ACCESS_DWORD_HIGH, "db_write(10, 7, 4, [11 22 33 44 80 00 00 01])"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        SetUp();
        uint32_t dwords[] = {0x11223344, 0x80000001};
        ASSERT_EQ(Run(OP_WRITE_BLOCK, TagOf(c.accessCode, 3), 2, dwords), DRV_OK);
        EXPECT_EQ(fakes::Calls(), Calls{c.call});
    }
}

TEST_F(WriteTest, FloatsAreConvertedByTheLibraryInElementOrder) {
    struct Case {
        int32_t accessCode;
        std::string call;
    };
    const std::string bytes = "[3F C0 00 00 C0 00 00 00 3E 80 00 00])";
    const Case cases[] = {{ACCESS_FLOAT, "db_write(10, 6, 6, " + bytes},
                          {ACCESS_FLOAT_HIGH, "db_write(10, 7, 6, " + bytes}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        SetUp();
        float floats[] = {1.5f, -2.0f, 0.25f};
        ASSERT_EQ(Run(OP_WRITE_BLOCK, TagOf(c.accessCode, 3), 3, floats), DRV_OK);
        EXPECT_EQ(fakes::Calls(), (Calls{"float_to_plc_real(1.5)", "float_to_plc_real(-2)",
                                         "float_to_plc_real(0.25)", c.call}));
    }
}

// Maximum length, current length, then the characters padded with zero bytes; a longer host
// string is cut to the declared length.
TEST_F(WriteTest, StringIsWrittenInThePlcStoredForm) {
    struct Case {
        std::string text;
        std::string call;
    };
    const Case cases[] = {
        {"ABC", "d_field_write(10, 20, 12, [0A 03 41 42 43 00 00 00 00 00 00 00])"},
        {"", "d_field_write(10, 20, 12, [0A 00 00 00 00 00 00 00 00 00 00 00])"},
        {"ABCDEFGHIJ", "d_field_write(10, 20, 12, [0A 0A 41 42 43 44 45 46 47 48 49 4A])"},
        {"ABCDEFGHIJKLMNOP", "d_field_write(10, 20, 12, [0A 0A 41 42 43 44 45 46 47 48 49 4A])"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        SetUp();
        std::string text = c.text;
        ASSERT_EQ(Run(OP_WRITE_BLOCK, TagOf(ACCESS_STRING, 20), 0, text.data(), "01DS010002010"),
                  DRV_OK);
        EXPECT_EQ(fakes::Calls(), Calls{c.call});
    }
}

// A host string of L characters without a terminator: nothing past it is read (the sanitizer
// build sees any such read of the heap block).
TEST_F(WriteTest, StringIsNeverReadBeyondItsDeclaredLength) {
    std::vector<char> exact(5, 'Z');
    ASSERT_EQ(Run(OP_WRITE_BLOCK, TagOf(ACCESS_STRING, 20), 1, exact.data(), "01DS0100020 5"),
              DRV_OK);
    EXPECT_EQ(fakes::Calls(), Calls{"d_field_write(10, 20, 7, [05 05 5A 5A 5A 5A 5A])"});
}

TEST_F(WriteTest, InputsAreNotWritten) {
    uint16_t words[] = {1, 2};
    EXPECT_EQ(Run(OP_WRITE_BLOCK, TagOf(ACCESS_INPUT, 5), 2, words), DRV_OK);
    EXPECT_TRUE(fakes::Calls().empty());
    EXPECT_EQ(EntryOf(1).status, DRV_OK);
}

// One message per failed attempt, and DRV_FAILED whatever the code: no code means offline on
// the write path.
TEST_F(WriteTest, EachKindRetriesOnceAndLogsEachFailedAttempt) {
    struct Case {
        int32_t accessCode;
        PlcCall call;
        std::string message;  // with rc=4002
    };
    const Case cases[] = {
        {ACCESS_BYTE, PlcCall::DFieldWrite, "RavUDE : d_field_write failed (db=10,Addr=6),rc=4002"},
        {ACCESS_WORD_EVEN, PlcCall::DFieldWrite,
         "RavUDE : db_write failed (db=10,Addr=12),rc=4002"},
        {ACCESS_WORD_ODD, PlcCall::DFieldWrite, "RavUDE : db_write failed (db=10,Addr=13),rc=4002"},
        {ACCESS_DWORD, PlcCall::DbWrite, "RavUDE : db_write failed (db=10,Addr=12),rc=4002"},
        {ACCESS_FLOAT_HIGH, PlcCall::DbWrite, "RavUDE : db_write failed (db=10,Addr=13),rc=4002"},
        {ACCESS_STRING, PlcCall::DFieldWrite, "RavUDE : db_write failed (db=10,Addr=6),rc=4002"},
        {ACCESS_OUTPUT, PlcCall::AWrite, "RavUDE : a_write failed (Addr=6),rc=4002"},
        {ACCESS_MARKER, PlcCall::MWrite, "RavUDE : m_write failed (Addr=6),rc=4002"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        uint32_t values[] = {0x41424344, 0};

        SetUp();
        fakes::QueuePlcResults(c.call, {0x4002, 0x4002});
        EXPECT_EQ(Run(OP_WRITE_BLOCK, TagOf(c.accessCode, 6), 1, values, "01DS010000603"),
                  DRV_FAILED);
        EXPECT_EQ(fakes::LogLines(), (Calls{c.message, c.message}));
        EXPECT_EQ(EntryOf(1).status, DRV_FAILED);
        EXPECT_EQ(context.activePlc, 0);

        SetUp();
        fakes::QueuePlcResults(c.call, {0x4002, 0});
        EXPECT_EQ(Run(OP_WRITE_BLOCK, TagOf(c.accessCode, 6), 1, values, "01DS010000603"), DRV_OK);
        EXPECT_EQ(fakes::LogLines(), Calls{c.message});
        EXPECT_EQ(EntryOf(1).status, DRV_OK);
    }
}

TEST_F(WriteTest, RefusedStationWritesNothingAndRecordsNothing) {
    SetShutdown(context, 1);
    uint16_t words[] = {1};
    EXPECT_EQ(Run(OP_WRITE_BLOCK, TagOf(ACCESS_BYTE, 8), 1, words), DRV_OFFLINE);
    EXPECT_TRUE(fakes::CallsStartingWith("d_field_write").empty());
    EXPECT_EQ(EntryOf(1).status, DRV_OK);
}

// The bit is set when bit 0 of the new value is 1 and cleared otherwise, in the PLC's current
// value; the block goes back to the host as it came, with its new value in place.
TEST_F(WriteTest, WriteOneChangesOneBitOfThePlcValue) {
    struct Case {
        int32_t accessCode;
        int offset;
        int bit;
        uint16_t newValue;
        int plcStart;
        std::vector<uint8_t> plcBytes;
        Calls calls;
    };
    // clang-format off
    const Case cases[] = {
        {ACCESS_WORD_EVEN, 5, 3, 1, 10, {0x01, 0x00},
         {"d_field_read(10, 10, 2)", "d_field_write(10, 10, 2, [01 08])"}},
        {ACCESS_WORD_EVEN, 5, 3, 2, 10, {0x01, 0x08},
         {"d_field_read(10, 10, 2)", "d_field_write(10, 10, 2, [01 00])"}},
        {ACCESS_WORD_ODD, 5, 15, 0xFFFF, 11, {0x00, 0x00},
         {"d_field_read(10, 11, 2)", "d_field_write(10, 11, 2, [80 00])"}},
        {ACCESS_BYTE, 10, 0, 0, 10, {0xFF},
         {"d_field_read(10, 10, 1)", "d_field_write(10, 10, 1, [FE])"}},
        {ACCESS_MARKER, 10, 7, 1, 10, {0x01}, {"m_read(10, 1)", "m_write(10, 1, [81])"}},
        {ACCESS_OUTPUT, 10, 1, 1, 10, {0x00}, {"a_read(10, 1)", "a_write(10, 1, [02])"}},
        {ACCESS_INPUT, 10, 1, 1, 10, {0x00}, {"e_read(10, 1)"}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.calls.front());
        SetUp();
        switch (c.accessCode) {
            case ACCESS_MARKER:
                fakes::SetAreaBytes(fakes::PlcArea::Markers, c.plcStart, c.plcBytes);
                break;
            case ACCESS_OUTPUT:
                fakes::SetAreaBytes(fakes::PlcArea::Outputs, c.plcStart, c.plcBytes);
                break;
            case ACCESS_INPUT:
                fakes::SetAreaBytes(fakes::PlcArea::Inputs, c.plcStart, c.plcBytes);
                break;
            default:
                fakes::SetDataBlockBytes(10, c.plcStart, c.plcBytes);
        }
        uint16_t words[] = {0x5555, c.newValue, 0x6666};
        ASSERT_EQ(Run(OP_WRITE_ONE, TagOf(c.accessCode, c.offset, c.bit), 7, words), DRV_OK);
        EXPECT_EQ(fakes::Calls(), c.calls);
        EXPECT_EQ(words[0], 0x5555);
        EXPECT_EQ(words[1], c.newValue);
        EXPECT_EQ(words[2], 0x6666);
        EXPECT_EQ(transfer.values, words);
        EXPECT_EQ(transfer.tag.bitNumber, c.bit);
        EXPECT_EQ(transfer.elementCount, 1);
    }
}

TEST_F(WriteTest, WriteOneWithoutBitWritesTheSecondSixteenBitElementOrTheFirstOtherValue) {
    uint16_t words[] = {0x5555, 0x1234, 0x6666};
    ASSERT_EQ(Run(OP_WRITE_ONE, TagOf(ACCESS_WORD_EVEN, 5), 3, words), DRV_OK);
    uint32_t dword[] = {0x11223344, 0x55667788};
    ASSERT_EQ(Run(OP_WRITE_ONE, TagOf(ACCESS_DWORD, 3), 2, dword), DRV_OK);
    float value[] = {1.5f, 2.5f};
    ASSERT_EQ(Run(OP_WRITE_ONE, TagOf(ACCESS_FLOAT, 3), 2, value), DRV_OK);
    EXPECT_EQ(fakes::Calls(),
              (Calls{"d_field_write(10, 10, 2, [12 34])", "db_write(10, 6, 2, [11 22 33 44])",
                     "float_to_plc_real(1.5)", "db_write(10, 6, 2, [3F C0 00 00])"}));
    EXPECT_EQ(words[1], 0x1234);
    EXPECT_EQ(transfer.values, value);
}

// Whether the read or the write fails, the block and the host's new value come back as the
// host left them; a failed read writes nothing.
TEST_F(WriteTest, WriteOneRestoresTheBlockWhenItFails) {
    struct Case {
        PlcCall failing;
        int code;
        int result;
        size_t writes;
    };
    const Case cases[] = {{PlcCall::DFieldRead, 0x4002, DRV_OFFLINE, 0},
                          {PlcCall::DFieldRead, 0x8500, DRV_FAILED, 0},
                          {PlcCall::DFieldWrite, 0x8500, DRV_FAILED, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        SetUp();
        fakes::SetPlcDefaultResult(c.failing, c.code);
        fakes::SetDataBlockBytes(10, 10, {0x01, 0x00});
        uint16_t words[] = {0x5555, 1, 0x6666};
        EXPECT_EQ(Run(OP_WRITE_ONE, TagOf(ACCESS_WORD_EVEN, 5, 3), 1, words), c.result);
        EXPECT_EQ(fakes::CallsStartingWith("d_field_write").size(), c.writes);
        EXPECT_EQ(words[0], 0x5555);
        EXPECT_EQ(words[1], 1);
        EXPECT_EQ(words[2], 0x6666);
        EXPECT_EQ(transfer.values, words);
        EXPECT_EQ(transfer.tag.bitNumber, 3);
    }
}

}  // namespace
}  // namespace plc_test

// Values as typed by the user: range checks per type, and formatting of what the module
// put into the value array.
#include <gtest/gtest.h>

#include <bit>

#include "value_type.h"
#include "values.h"

namespace {

using namespace zelhost;

struct ValueCase {
    ValueType type;
    const char* text;
    bool ok;
    uint32_t bits;      // when ok
    const char* error;  // when not
};

class ValueParsing : public testing::TestWithParam<ValueCase> {};

TEST_P(ValueParsing, AcceptsTheTypesRangeOnly) {
    const ValueCase& c = GetParam();
    HostValue value;
    std::string error;
    ASSERT_EQ(ParseValue(c.type, c.text, value, error), c.ok) << c.text << ": " << error;
    if (c.ok) {
        EXPECT_EQ(value.bits, c.bits) << c.text;
    } else {
        EXPECT_EQ(error, c.error);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ValueParsing,
    testing::Values(
        ValueCase{ValueType::Bit, "1", true, 1, ""},
        ValueCase{ValueType::Bit, "2", false, 0, "'2' is out of range for bit (0 to 1)"},
        ValueCase{ValueType::Byte, "255", true, 255, ""},
        ValueCase{ValueType::Byte, "0xff", true, 255, ""},
        ValueCase{ValueType::Byte, "300", false, 0, "'300' is out of range for byte (0 to 255)"},
        ValueCase{ValueType::Byte, "-1", false, 0, "'-1' is out of range for byte (0 to 255)"},
        ValueCase{ValueType::Word, "65535", true, 65535, ""},
        ValueCase{ValueType::Word, "65536", false, 0,
                  "'65536' is out of range for word (0 to 65535)"},
        ValueCase{ValueType::Int16, "-32768", true, 0xFFFF8000u, ""},
        ValueCase{ValueType::Int16, "32768", false, 0,
                  "'32768' is out of range for int16 (-32768 to 32767)"},
        ValueCase{ValueType::Int32, "-1", true, 0xFFFFFFFFu, ""},
        ValueCase{ValueType::Int32, "2147483648", false, 0,
                  "'2147483648' is out of range for int32 (-2147483648 to 2147483647)"},
        ValueCase{ValueType::Uint32, "4294967295", true, 0xFFFFFFFFu, ""},
        ValueCase{ValueType::Uint32, "99999999999999999999999", false, 0,
                  "'99999999999999999999999' is out of range for uint32 (0 to 4294967295)"},
        ValueCase{ValueType::Word, "12abc", false, 0, "'12abc' is not a whole number"},
        ValueCase{ValueType::Word, "", false, 0, "'' is not a whole number"},
        ValueCase{ValueType::Word, "1.5", false, 0, "'1.5' is not a whole number"},
        ValueCase{ValueType::Word, "0x", false, 0, "'0x' is not a whole number"},
        ValueCase{ValueType::Float, "1.5", true, std::bit_cast<uint32_t>(1.5f), ""},
        ValueCase{ValueType::Float, "-2e3", true, std::bit_cast<uint32_t>(-2000.0f), ""},
        ValueCase{ValueType::Float, "abc", false, 0, "'abc' is not a number"},
        ValueCase{ValueType::Float, "1e39", false, 0, "'1e39' is out of range for float"},
        ValueCase{ValueType::Float, "inf", false, 0, "'inf' is out of range for float"}));

TEST(ValueFormatting, ShowsEachTypeFromItsElementLayout) {
    ValueArray values(16);
    values.Store16(0, 0xFFFF);
    EXPECT_EQ(FormatValue(ValueType::Word, values, 0, 0), "65535");
    EXPECT_EQ(FormatValue(ValueType::Int16, values, 0, 0), "-1");
    values.Store32(1, 0x80000001u);
    EXPECT_EQ(FormatValue(ValueType::Uint32, values, 1, 0), "2147483649");
    EXPECT_EQ(FormatValue(ValueType::Int32, values, 1, 0), "-2147483647");
    values.StoreFloat(2, 0.1f);
    EXPECT_EQ(FormatValue(ValueType::Float, values, 2, 0), "0.1");  // shortest exact form
    values.StoreFloat(2, std::bit_cast<float>(0x7FC00000u));
    EXPECT_EQ(FormatValueJson(ValueType::Float, values, 2, 0), "null");
}

TEST(ValueFormatting, StringsStopAtTheDeclaredLengthOrANulAndAreEscaped) {
    ValueArray values(11);
    values.StoreChars("AB\"C\x01xyz");
    EXPECT_EQ(FormatValue(ValueType::String, values, 0, 5), "\"AB\\\"C\\x01\"");
    EXPECT_EQ(FormatValueJson(ValueType::String, values, 0, 4), "\"AB\\\"C\"");
    values.StoreChars("");
    EXPECT_EQ(FormatValue(ValueType::String, values, 0, 10), "\"\"");
}

TEST(ValueArray, GuardShowsAWritePastThePayload) {
    ValueArray values(4);
    values.Store16(1, 7);
    EXPECT_TRUE(values.GuardIntact());
    static_cast<unsigned char*>(values.data())[4] = 0;
    EXPECT_FALSE(values.GuardIntact());
}

TEST(DeclaredStringLength, ReadsTheLengthFieldOfEitherLayout) {
    EXPECT_EQ(DeclaredStringLength("01DS010002010", false), 10);
    EXPECT_EQ(DeclaredStringLength("01DS0100020 5", false), 5);
    EXPECT_EQ(DeclaredStringLength("01DS01000205 ", false), 5);
    EXPECT_EQ(DeclaredStringLength("01DS1234002080", true), 80);
    EXPECT_EQ(DeclaredStringLength("01DS01000", false), 0);
}

struct AddressTypeCase {
    const char* address;
    bool longDb;
    std::optional<ValueType> type;
};

class AddressType : public testing::TestWithParam<AddressTypeCase> {};

TEST_P(AddressType, FollowsTheTypeLetterAndTheBitNumber) {
    EXPECT_EQ(TypeOfAddress(GetParam().address, GetParam().longDb), GetParam().type)
        << GetParam().address;
}

INSTANTIATE_TEST_SUITE_P(Cases, AddressType,
                         testing::Values(AddressTypeCase{"01DW0100020", false, ValueType::Word},
                                         AddressTypeCase{"01dw010002003", false, ValueType::Bit},
                                         AddressTypeCase{"01DW01230020", true, ValueType::Word},
                                         AddressTypeCase{"01DW0123002003", true, ValueType::Bit},
                                         AddressTypeCase{"01DB0100007", false, ValueType::Byte},
                                         AddressTypeCase{"01XW01001F4", false, ValueType::Word},
                                         AddressTypeCase{"01DD0100008", false, ValueType::Int32},
                                         AddressTypeCase{"01DF0100024", false, ValueType::Float},
                                         AddressTypeCase{"01DS010002010", false, ValueType::String},
                                         AddressTypeCase{"01SB010002010", false, ValueType::String},
                                         AddressTypeCase{"01MB0012", false, ValueType::Byte},
                                         AddressTypeCase{"01MB0012  ", false, ValueType::Byte},
                                         AddressTypeCase{"01IB000503", false, ValueType::Bit},
                                         AddressTypeCase{"01ZZ0100020", false, std::nullopt},
                                         AddressTypeCase{"01", false, std::nullopt}));

}  // namespace

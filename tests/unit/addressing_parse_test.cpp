// OP_PARSE through ZelMain: accepted addresses and their records, refusals and their one log
// line, and what a refusal leaves in the record.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "addressing_test_support.h"

namespace {

using namespace zelmpi;
using addressing_test::kFloatOdd;
using addressing_test::kLeftover;
using addressing_test::kLong;
using addressing_test::kNormal;
using addressing_test::LogLine;
using addressing_test::Options;
using addressing_test::Packed;
using addressing_test::Parse;
using addressing_test::Printable;

constexpr int32_t kOrdinary = 1;  // any host type without a tie to the address
constexpr int32_t kFloat = HOST_TYPE_FLOAT;
constexpr int32_t kSigned32 = HOST_TYPE_SIGNED32;
constexpr int32_t kUnsigned32 = HOST_TYPE_UNSIGNED32;
constexpr int32_t kBit = HOST_TYPE_BIT;
constexpr int32_t kString = HOST_TYPE_STRING;

struct AcceptedCase {
    std::string address;
    int32_t hostType;
    Options options;
    TagAddress expected;
};

void ExpectAccepted(const std::vector<AcceptedCase>& cases) {
    for (const AcceptedCase& c : cases) {
        SCOPED_TRACE(Printable(c.address) + " hostType " + std::to_string(c.hostType) +
                     (c.options.longDb ? " long" : "") +
                     (c.options.floatOddAddress ? " floatOddAddress" : ""));
        const auto outcome = Parse(c.address, c.hostType, c.options);
        EXPECT_EQ(outcome.result, DRV_OK);
        EXPECT_EQ(outcome.tag, c.expected);
        EXPECT_TRUE(outcome.calls.empty()) << "an accepted address logs nothing, calls nothing";
    }
}

TEST(ParseAddress, DecodesEveryDocumentedExample) {
    ExpectAccepted({
        {"01DB0100007", kOrdinary, kNormal, {1, 'B', Packed(10, 7), 255, 16}},
        {"01DW0100020", kOrdinary, kNormal, {1, 0, Packed(10, 10), 255, 16}},
        {"01DW0100021", kOrdinary, kNormal, {1, 1, Packed(10, 10), 255, 16}},
        {"01DD0100008", kSigned32, kNormal, {1, 'D', Packed(10, 2), 255, 32}},
        {"01DD0100008", kUnsigned32, kNormal, {1, 'D', Packed(10, 2), 255, 32}},
        {"01DD0100010", kSigned32, kNormal, {1, 'd', Packed(10, 2), 255, 32}},
        {"01DD0100010", kUnsigned32, kNormal, {1, 'd', Packed(10, 2), 255, 32}},
        {"01DF0100024", kFloat, kNormal, {1, 'F', Packed(10, 6), 255, 32}},
        {"01DF0100026", kFloat, kNormal, {1, 'f', Packed(10, 6), 255, 32}},
        {"01XW01001F4", kOrdinary, kNormal, {1, 0, Packed(10, 250), 255, 16}},
        {"01DW010002003", kBit, kNormal, {1, 0, Packed(10, 10), 3, 16}},
        {"01DB010000705", kBit, kNormal, {1, 'B', Packed(10, 7), 5, 16}},
        {"01DS010002010", kString, kNormal, {1, 'S', Packed(10, 20), 255, 16}},
        {"01SB010002010", kString, kNormal, {1, 'S', Packed(10, 20), 255, 16}},
        {"01MB0012", kOrdinary, kNormal, {1, 'M', 12, 255, 16}},
        {"03QB0100", kOrdinary, kNormal, {3, 'Q', 100, 255, 16}},
        {"01IB000503", kBit, kNormal, {1, 'I', 5, 3, 16}},
        {"01DW01230020", kOrdinary, kLong, {1, 0, Packed(123, 10), 255, 16}},
        {"01DS1234002010", kString, kLong, {1, 'S', Packed(1234, 20), 255, 16}},
    });
}

TEST(ParseAddress, AcceptsTheEdgesOfTheSyntax) {
    ExpectAccepted({
        // Lower case is upper case, hexadecimal digits included.
        {"01dw0100020", kOrdinary, kNormal, {1, 0, Packed(10, 10), 255, 16}},
        {"01xw01001f4", kOrdinary, kNormal, {1, 0, Packed(10, 250), 255, 16}},
        {"01sb010002010", kString, kNormal, {1, 'S', Packed(10, 20), 255, 16}},
        // Smallest and largest numbers of each field.
        {"00DW0000000", kOrdinary, kNormal, {0, 0, 0, 255, 16}},
        {"99DB9999999", kOrdinary, kNormal, {99, 'B', Packed(999, 9999), 255, 16}},
        {"01XB999FFFF", kOrdinary, kNormal, {1, 'B', Packed(999, 0xFFFF), 255, 16}},
        {"01DD99990010", kUnsigned32, kLong, {1, 'd', Packed(9999, 2), 255, 32}},
        // A string's byte address stays decimal after an X; blanks around its length.
        {"01XS010002010", kString, kNormal, {1, 'S', Packed(10, 20), 255, 16}},
        {"01DS0100020 5", kString, kNormal, {1, 'S', Packed(10, 20), 255, 16}},
        {"01DS01000205 ", kString, kNormal, {1, 'S', Packed(10, 20), 255, 16}},
        {"01DS010002001", kString, kNormal, {1, 'S', Packed(10, 20), 255, 16}},
        {"01DS010002080", kString, kNormal, {1, 'S', Packed(10, 20), 255, 16}},
        {"01SS1234002080", kString, kLong, {1, 'S', Packed(1234, 20), 255, 16}},
        // Odd float addresses round down to their double word while allowed.
        {"01DF0100025", kFloat, kFloatOdd, {1, 'F', Packed(10, 6), 255, 32}},
        {"01DF0100027", kFloat, kFloatOdd, {1, 'F', Packed(10, 6), 255, 32}},
        {"01DF0100026", kFloat, kFloatOdd, {1, 'f', Packed(10, 6), 255, 32}},
        // Highest bit numbers; a bit of a word at an odd byte.
        {"01DW010002015", kBit, kNormal, {1, 0, Packed(10, 10), 15, 16}},
        {"01DW010002100", kBit, kNormal, {1, 1, Packed(10, 10), 0, 16}},
        {"01DB010000707", kBit, kNormal, {1, 'B', Packed(10, 7), 7, 16}},
        {"01IB000507", kBit, kNormal, {1, 'I', 5, 7, 16}},
        {"01DW0123002015", kBit, kLong, {1, 0, Packed(123, 10), 15, 16}},
        {"01DB1234000707", kBit, kLong, {1, 'B', Packed(1234, 7), 7, 16}},
        {"01XW001001F4", kOrdinary, kLong, {1, 0, Packed(10, 250), 255, 16}},
        // Inputs, outputs and markers: trailing blanks, nothing after position 12 examined,
        // a second bit position that is not looked at, the same in both layouts.
        {"01MB0012  ", kOrdinary, kNormal, {1, 'M', 12, 255, 16}},
        {"01MB0012     XY", kOrdinary, kNormal, {1, 'M', 12, 255, 16}},
        {"01MB0012 5", kOrdinary, kNormal, {1, 'M', 12, 255, 16}},
        {"01MB0012 5", kOrdinary, kLong, {1, 'M', 12, 255, 16}},
        {"02QB001203", kBit, kLong, {2, 'Q', 12, 3, 16}},
        // An X address that fits only the inputs template is still a data-block address.
        {"01XB0012   ", kOrdinary, kNormal, {1, 'B', Packed(1, 2), 255, 16}},
        // The host type ties run one way only.
        {"01DW0100020", kFloat, kNormal, {1, 0, Packed(10, 10), 255, 16}},
        {"01DB0100007", kSigned32, kNormal, {1, 'B', Packed(10, 7), 255, 16}},
        {"01DW0100020", kString, kNormal, {1, 0, Packed(10, 10), 255, 16}},
        {"01MB0012", kString, kNormal, {1, 'M', 12, 255, 16}},
    });
}

constexpr char kWrongCharacters[] = "RAVUDE> ParseAddress() wrong characters in address string";
constexpr char kTypeLetterNotCorrect[] =
    "RAVUDE> ParseAddress() tag type in address string not correct";
constexpr char kShouldBeString[] =
    "RAVUDE> ParseAddress() wrong tag type this address, should be string";
constexpr char kWrongStringLength[] =
    "RAVUDE> ParseAddress() wrong string length, should be from 1 to 80";
constexpr char kAddressShouldBeEven[] =
    "RAVUDE> ParseAddress() tag address should be even for this type";
constexpr char kShouldBeFloat[] =
    "RAVUDE> ParseAddress() wrong tag type this address, should be float";
constexpr char kShouldBe32Bit[] =
    "RAVUDE> ParseAddress() wrong tag type this address, should be SIGNED32 or UNSIGNED32";
constexpr char kWrongBitNumber[] = "RAVUDE> ParseAddress() wrong bit number in address string";

std::string LengthMessage(int expected, int length) {
    return "RAVUDE> ParseAddress() wrong address string length for this type, should be " +
           std::to_string(expected) + " but is " + std::to_string(length);
}

struct RefusedCase {
    std::string address;
    int32_t hostType;
    Options options;
    std::string message;
};

void ExpectRefused(const std::vector<RefusedCase>& cases) {
    for (const RefusedCase& c : cases) {
        SCOPED_TRACE(Printable(c.address) + " hostType " + std::to_string(c.hostType) +
                     (c.options.longDb ? " long" : "") +
                     (c.options.floatOddAddress ? " floatOddAddress" : ""));
        const auto outcome = Parse(c.address, c.hostType, c.options);
        EXPECT_EQ(outcome.result, DRV_FAILED);
        EXPECT_EQ(outcome.calls, std::vector<std::string>{LogLine(c.message)});
    }
}

TEST(ParseAddress, RefusesCharactersThatFitNoTemplate) {
    ExpectRefused({
        {"", kOrdinary, kNormal, kWrongCharacters},
        // Too short: position 10 is blank after padding, which the data-block template refuses.
        {"01DW010002", kOrdinary, kNormal, kWrongCharacters},
        {"01dw01000", kOrdinary, kNormal, kWrongCharacters},
        {"01XZ0100020", kOrdinary, kNormal, kWrongCharacters},
        {"1DW0100020", kOrdinary, kNormal, kWrongCharacters},
        {"01IW0012", kOrdinary, kNormal, kWrongCharacters},
        {"01DB01000G7", kOrdinary, kNormal, kWrongCharacters},
        {"01MB0012A", kOrdinary, kNormal, kWrongCharacters},
        {"01MB0012 5X", kOrdinary, kNormal, kWrongCharacters},
        // A long hexadecimal address cannot end in a letter.
        {"01XW0010001F", kOrdinary, kLong, kWrongCharacters},
        // 0x7B-0x7F move down to '[' .. '_', high bytes stay: neither fits anywhere.
        {"01DW01{0020", kOrdinary, kNormal, kWrongCharacters},
        {"01DW010002\x7F", kOrdinary, kNormal, kWrongCharacters},
        {"01DW010002\xE0", kOrdinary, kNormal, kWrongCharacters},
        {"\xB0\x31\xC4W0100020", kOrdinary, kNormal, kWrongCharacters},
        {"01\xE4W0100020", kOrdinary, kNormal, kWrongCharacters},
        {std::string(5000, '\xFF'), kOrdinary, kNormal, kWrongCharacters},
    });
}

TEST(ParseAddress, RefusesLengthsThatDoNotSuitTheTagKindNamingTheFullLength) {
    ExpectRefused({
        // 01XB0012 fits the inputs template yet is a data-block address.
        {"01XB0012", kOrdinary, kNormal, LengthMessage(11, 8)},
        {"01DW0100020", kBit, kNormal, LengthMessage(13, 11)},
        {"01DW010002003", kOrdinary, kNormal, LengthMessage(11, 13)},
        {"01DW0100020 ", kOrdinary, kNormal, LengthMessage(11, 12)},
        {"01DW0123002", kOrdinary, kLong, LengthMessage(12, 11)},
        {"01DW01230020", kBit, kLong, LengthMessage(14, 12)},
        {"01DW0100020", kOrdinary, kLong, LengthMessage(12, 11)},
        {"01DS01000201000", kString, kNormal, LengthMessage(13, 15)},
        {"01DS010002010", kString, kLong, LengthMessage(14, 13)},
        {"01DS123400201", kString, kLong, LengthMessage(14, 13)},
        // Far beyond the examined positions, with high bytes: the host's length counts.
        {"01DW0100020  " + std::string(4000, 'x'), kOrdinary, kNormal, LengthMessage(11, 4013)},
        {"01DW0100020 5\xFF\x80\xE9", kOrdinary, kNormal, LengthMessage(11, 16)},
        {"01DW010002003" + std::string(100, '\xAA'), kBit, kNormal, LengthMessage(13, 113)},
        {"01DS010002010" + std::string(300, '\x80'), kString, kNormal, LengthMessage(13, 313)},
        {"01DS1234002010" + std::string(20, ' '), kString, kLong, LengthMessage(14, 34)},
    });
}

TEST(ParseAddress, RefusesStringAddressesInTheOrderOfTheirChecks) {
    ExpectRefused({
        {"01SW010002010", kString, kNormal, kTypeLetterNotCorrect},
        {"01SD010002010", kString, kNormal, kTypeLetterNotCorrect},
        {"01SF1234002010", kString, kLong, kTypeLetterNotCorrect},
        {"01SW010002010", kOrdinary, kNormal, kTypeLetterNotCorrect},  // letter before type
        {"01DS010002010", kOrdinary, kNormal, kShouldBeString},
        {"01SB010002010", kBit, kNormal, kShouldBeString},
        {"01DS010002000", kString, kNormal, kWrongStringLength},
        {"01DS010002081", kString, kNormal, kWrongStringLength},
        {"01DS0100020  ", kString, kNormal, kWrongStringLength},
        {"01DS1234002099", kString, kLong, kWrongStringLength},
    });
}

TEST(ParseAddress, RefusesOddAddressesBeforeHostTypes) {
    ExpectRefused({
        {"01DF0100025", kFloat, kNormal, kAddressShouldBeEven},
        {"01DF0100023", kFloat, kNormal, kAddressShouldBeEven},
        {"01DF0100025", kSigned32, kNormal, kAddressShouldBeEven},
        {"01DD0100009", kSigned32, kNormal, kAddressShouldBeEven},
        {"01DD0100009", kSigned32, kFloatOdd, kAddressShouldBeEven},
        {"01XD01001F5", kUnsigned32, kNormal, kAddressShouldBeEven},
        {"01DF0100024", kOrdinary, kNormal, kShouldBeFloat},
        {"01DF0100026", kSigned32, kNormal, kShouldBeFloat},
        {"01DF0100025", kBit, kFloatOdd, LengthMessage(13, 11)},
        {"01DF010002403", kBit, kNormal, kShouldBeFloat},
        {"01DD0100008", kFloat, kNormal, kShouldBe32Bit},
        {"01DD0100010", kOrdinary, kNormal, kShouldBe32Bit},
        {"01DD010000801", kBit, kNormal, kShouldBe32Bit},
    });
}

TEST(ParseAddress, RefusesBitNumbersThatAreMissingTooLargeOrUnwanted) {
    ExpectRefused({
        {"01DW010002016", kBit, kNormal, kWrongBitNumber},
        {"01DW010002099", kBit, kNormal, kWrongBitNumber},
        {"01DB010000708", kBit, kNormal, kWrongBitNumber},
        {"01DW0100020 3", kBit, kNormal, kWrongBitNumber},
        {"01DW01000203 ", kBit, kNormal, kWrongBitNumber},
        {"01DW0123002016", kBit, kLong, kWrongBitNumber},
        {"01DB1234000708", kBit, kLong, kWrongBitNumber},
        {"01DW012300201 ", kBit, kLong, kWrongBitNumber},
        {"01IB000508", kBit, kNormal, kWrongBitNumber},
        {"01IB00050", kBit, kNormal, kWrongBitNumber},  // position 9 blank
        {"01QB0005", kBit, kNormal, kWrongBitNumber},
        {"01MB00125", kOrdinary, kNormal, kWrongBitNumber},
        {"01MB00125", kOrdinary, kLong, kWrongBitNumber},
        {"01MB001203", kOrdinary, kNormal, kWrongBitNumber},
    });
}

// A decimal byte address that starts with A-F fits the data-block template but names no byte;
// so does a long hexadecimal address that only fits the inputs template with a blank field.
// Neither may go on with whatever the host left in the record.
TEST(ParseAddress, RefusesByteAddressFieldsThatHoldNoNumber) {
    ExpectRefused({
        {"01DW010A020", kOrdinary, kNormal, kWrongCharacters},
        {"01db010f007", kOrdinary, kNormal, kWrongCharacters},
        {"01DF010C024", kFloat, kNormal, kWrongCharacters},
        {"01DW010E00203", kBit, kNormal, kWrongCharacters},
        {"01DS010B02010", kString, kNormal, kWrongCharacters},
        {"01XS010A02010", kString, kNormal, kWrongCharacters},
        {"01SB010D02010", kString, kNormal, kWrongCharacters},
        {"01DW0010A020", kOrdinary, kLong, kWrongCharacters},
        {"01DS1234C02010", kString, kLong, kWrongCharacters},
        {"01XB0012    ", kOrdinary, kLong, kWrongCharacters},
    });
    // The same fields in hexadecimal are numbers.
    ExpectAccepted({
        {"01XW010A020", kOrdinary, kNormal, {1, 0, Packed(10, 0xA020 >> 1), 255, 16}},
        {"01XW0010A020", kOrdinary, kLong, {1, 0, Packed(10, 0xA020 >> 1), 255, 16}},
        {"01XB00120   ", kOrdinary, kLong, {1, 'B', Packed(12, 0), 255, 16}},
    });
}

TEST(ParseAddress, RefusesAMissingAddressStringWithoutTouchingTheRecord) {
    const auto outcome = addressing_test::RunOperation(OP_PARSE, nullptr, kOrdinary);
    EXPECT_EQ(outcome.result, DRV_FAILED);
    EXPECT_EQ(outcome.calls, std::vector<std::string>{LogLine(kWrongCharacters)});
    EXPECT_EQ(outcome.tag, addressing_test::kHostLeftovers);
}

// The record is written as the parse goes: a refusal keeps what was written before it.
TEST(ParseAddress, RefusalLeavesTheFieldsWrittenBeforeIt) {
    struct Case {
        std::string address;
        int32_t hostType;
        TagAddress expected;
    };
    const std::vector<Case> cases = {
        // No template fits: nothing written.
        {"01XZ0100020", kOrdinary, addressing_test::kHostLeftovers},
        // Refused by length, by a byte address that is no number, by the string type letter:
        // plc, accessCode, bitNumber and width written, packedAddress not yet.
        {"01DW0100020", kBit, {1, 'W', kLeftover, 255, 16}},
        {"07DW010A020", kOrdinary, {7, 'W', kLeftover, 255, 16}},
        {"01SW010002010", kString, {1, 'S', kLeftover, 255, 16}},
        // Refused after the byte address was read: it stays raw.
        {"01DS010002081", kString, {1, 'S', 20, 255, 16}},
        {"01DF0100025", kFloat, {1, 'F', 25, 255, 16}},
        {"01DD0100009", kSigned32, {1, 'D', 9, 255, 16}},
        // Refused after the final address: packed; width 32 for four-byte kinds.
        {"01DD0100010", kFloat, {1, 'd', Packed(10, 2), 255, 32}},
        {"01DF0100026", kOrdinary, {1, 'f', Packed(10, 6), 255, 32}},
        {"01DW010002016", kBit, {1, 0, Packed(10, 10), 255, 16}},
        {"01MB00125", kOrdinary, {1, 'M', 12, 255, 16}},
        {"03IB000508", kBit, {3, 'I', 5, 255, 16}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        const auto outcome = Parse(c.address, c.hostType);
        EXPECT_EQ(outcome.result, DRV_FAILED);
        EXPECT_EQ(outcome.calls.size(), 1u);
        EXPECT_EQ(outcome.tag, c.expected);
    }
}

}  // namespace

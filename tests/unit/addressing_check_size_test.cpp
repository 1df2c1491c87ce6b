// OP_CHECK_SIZE through ZelMain: the quiet parse and the element limits of each tag kind.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "addressing_test_support.h"

namespace {

using namespace zelmpi;
using addressing_test::kFloatOdd;
using addressing_test::kLong;
using addressing_test::kNormal;
using addressing_test::LogLine;
using addressing_test::Options;
using addressing_test::RunOperation;

struct Case {
    const char* address;
    int32_t hostType;
    int32_t elementCount;
    Options options;
    int expected;
    std::vector<std::string> log;
};

TEST(CheckBlockSize, AnswersByTheLimitOfEachKindAndRefusesWhatDoesNotParse) {
    const std::string wrongCharacters =
        LogLine("RAVUDE> ParseAddress() wrong characters in address string");
    const std::vector<Case> cases = {
        // Four-byte kinds: 125 elements.
        {"01DF0100024", HOST_TYPE_FLOAT, 125, kNormal, 0, {}},
        {"01DF0100024", HOST_TYPE_FLOAT, 126, kNormal, 1, {}},
        {"01DF0100026", HOST_TYPE_FLOAT, 126, kNormal, 1, {}},
        {"01DF0100025", HOST_TYPE_FLOAT, 125, kFloatOdd, 0, {}},
        {"01DD0100010", HOST_TYPE_SIGNED32, 125, kNormal, 0, {}},
        {"01DD0100010", HOST_TYPE_SIGNED32, 126, kNormal, 1, {}},
        {"01DD0100008", HOST_TYPE_UNSIGNED32, 126, kNormal, 1, {}},
        {"01DF01230024", HOST_TYPE_FLOAT, 126, kLong, 1, {}},
        // Words, bytes, inputs, outputs and markers: 250 elements.
        {"01DW0100020", 1, 250, kNormal, 0, {}},
        {"01DW0100020", 1, 251, kNormal, 1, {}},
        {"01DW0100021", 1, 251, kNormal, 1, {}},
        {"01DB0100007", 1, 250, kNormal, 0, {}},
        {"01DB0100007", 1, 251, kNormal, 1, {}},
        {"01MB0012", 1, 250, kNormal, 0, {}},
        {"01MB0012", 1, 251, kNormal, 1, {}},
        {"03QB0100", 1, 251, kLong, 1, {}},
        {"01DW01230020", 1, 250, kLong, 0, {}},
        // Signed counts: 0 and below pass.
        {"01DW0100020", 1, 0, kNormal, 0, {}},
        {"01DW0100020", 1, -1, kNormal, 0, {}},
        {"01DF0100024", HOST_TYPE_FLOAT, INT_MIN, kNormal, 0, {}},
        // Strings never pass, whatever the count.
        {"01DS010002010", HOST_TYPE_STRING, 1, kNormal, 1, {}},
        {"01DS010002010", HOST_TYPE_STRING, 0, kNormal, 1, {}},
        {"01DS010002010", HOST_TYPE_STRING, -5, kNormal, 1, {}},
        {"01DS1234002010", HOST_TYPE_STRING, 1, kLong, 1, {}},
        // Quiet parse: host types of four-byte kinds and bit numbers are not checked...
        {"01DF0100024", HOST_TYPE_SIGNED32, 1, kNormal, 0, {}},
        {"01DD0100008", 1, 1, kNormal, 0, {}},
        {"01DW010002099", HOST_TYPE_BIT, 1, kNormal, 0, {}},
        {"01MB00125", 1, 1, kNormal, 0, {}},
        {"01IB000579", HOST_TYPE_BIT, 1, kNormal, 0, {}},
        // ...but everything before them is, logged as by OP_PARSE.
        {"01XZ0100020", 1, 1, kNormal, 1, {wrongCharacters}},
        {"01DW010A020", 1, 1, kNormal, 1, {wrongCharacters}},
        {"01DW0100020",
         HOST_TYPE_BIT,
         1,
         kNormal,
         1,
         {LogLine("RAVUDE> ParseAddress() wrong address string length for this type, should be "
                  "13 but is 11")}},
        {"01DF0100025",
         HOST_TYPE_FLOAT,
         1,
         kNormal,
         1,
         {LogLine("RAVUDE> ParseAddress() tag address should be even for this type")}},
        {"01DS010002010",
         1,
         1,
         kNormal,
         1,
         {LogLine("RAVUDE> ParseAddress() wrong tag type this address, should be string")}},
        {"01DS010002081",
         HOST_TYPE_STRING,
         1,
         kNormal,
         1,
         {LogLine("RAVUDE> ParseAddress() wrong string length, should be from 1 to 80")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.address) + " hostType " + std::to_string(c.hostType) +
                     " count " + std::to_string(c.elementCount) +
                     (c.options.longDb ? " long" : ""));
        const auto outcome =
            RunOperation(OP_CHECK_SIZE, c.address, c.hostType, c.options, c.elementCount);
        EXPECT_EQ(outcome.result, c.expected);
        EXPECT_EQ(outcome.calls, c.log);
    }
}

TEST(CheckBlockSize, FillsTheRecordWithoutABitNumber) {
    const auto outcome = RunOperation(OP_CHECK_SIZE, "01DW010002003", HOST_TYPE_BIT, kNormal, 1);
    EXPECT_EQ(outcome.result, 0);
    EXPECT_EQ(outcome.tag, (TagAddress{1, 0, addressing_test::Packed(10, 10), 255, 16}));

    // The quiet parse leaves no mode behind: the next OP_PARSE checks bit numbers again.
    const auto parsed = RunOperation(OP_PARSE, "01DW010002003", HOST_TYPE_BIT);
    EXPECT_EQ(parsed.tag.bitNumber, 3);
    EXPECT_EQ(RunOperation(OP_PARSE, "01DW010002099", HOST_TYPE_BIT).result, DRV_FAILED);
}

}  // namespace

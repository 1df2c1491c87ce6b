// The tag list format: good lines, and each fault in the file reported with its line.
#include <gtest/gtest.h>

#include "tag_list.h"

namespace {

using zelhost::ParseTagList;
using zelhost::ValueType;

TEST(TagList, ReadsTagsAndSkipsCommentsAndBlankLines) {
    const auto list = ParseTagList(
        "# plant tags\n"
        "\n"
        "level   01DW0100020 word   # tank level\n"
        "temps\t01DF0100024\tFLOAT\t4\r\n"
        "text    \"01DS0100020 5\" string\n"
        "   \n"
        "flag 01IB000503 bit");
    ASSERT_TRUE(list.errors.empty()) << list.errors[0].message;
    ASSERT_EQ(list.tags.size(), 4u);
    EXPECT_EQ(list.tags[0].name, "level");
    EXPECT_EQ(list.tags[0].address, "01DW0100020");
    EXPECT_EQ(list.tags[0].type, ValueType::Word);
    EXPECT_EQ(list.tags[0].count, 1);
    EXPECT_EQ(list.tags[0].line, 3);
    EXPECT_EQ(list.tags[1].type, ValueType::Float);
    EXPECT_EQ(list.tags[1].count, 4);
    EXPECT_EQ(list.tags[2].address, "01DS0100020 5");
    EXPECT_EQ(list.tags[3].line, 7);
    EXPECT_EQ(list.tags[3].type, ValueType::Bit);
}

struct BadLine {
    const char* line;
    const char* message;
};

class TagListFault : public testing::TestWithParam<BadLine> {};

TEST_P(TagListFault, IsReportedWithItsLine) {
    const std::string text = std::string("good 01DW0100020 word\n") + GetParam().line + "\n";
    const auto list = ParseTagList(text);
    ASSERT_EQ(list.errors.size(), 1u);
    EXPECT_EQ(list.errors[0].line, 2);
    EXPECT_EQ(list.errors[0].message, GetParam().message);
    EXPECT_EQ(list.tags.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, TagListFault,
    testing::Values(
        BadLine{"lonely", "missing address (a tag line is: name address type [count])"},
        BadLine{"x 01DW0100020", "missing type (a tag line is: name address type [count])"},
        BadLine{
            "x 01DW0100020 long",
            "unknown type 'long' (types: bit, byte, word, int16, int32, uint32, float, string)"},
        BadLine{"x 01DW0100020 word 0", "bad count '0': a whole number from 1 to 65535"},
        BadLine{"x 01DW0100020 word -3", "bad count '-3': a whole number from 1 to 65535"},
        BadLine{"x 01DW0100020 word 2x", "bad count '2x': a whole number from 1 to 65535"},
        BadLine{"x 01DW0100020 word 65536", "bad count '65536': a whole number from 1 to 65535"},
        BadLine{"x 01DW0100020 word 2 extra", "unexpected field 'extra' after the count"},
        BadLine{"x 01DW010002003 bit 2", "a bit tag has count 1"},
        BadLine{"x 01DS010002010 string 3", "a string tag has count 1"},
        BadLine{"x \"01DS0100020 5 string", "unclosed double quote"},
        BadLine{"x \"\" word", "empty address"},
        BadLine{"\"x y\" 01DW0100020 word", "a tag name is one word without quotes"},
        BadLine{"good 01DW0100022 word", "duplicate tag name 'good' (first on line 1)"}));

TEST(TagList, ReportsEveryFaultNotOnlyTheFirst) {
    const auto list = ParseTagList("a 01DW0100020 wrd\nb 01DW0100020 word\nc\n");
    ASSERT_EQ(list.errors.size(), 2u);
    EXPECT_EQ(list.errors[0].line, 1);
    EXPECT_EQ(list.errors[1].line, 3);
}

}  // namespace

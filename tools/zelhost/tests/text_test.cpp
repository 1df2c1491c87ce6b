// Code page 437 to UTF-8, JSON strings, and the poll table's layout.
#include <gtest/gtest.h>

#include <set>

#include "cp437.h"
#include "json_writer.h"
#include "poll_view.h"

namespace {

using namespace zelhost;

TEST(Cp437, MapsTheBannersFrameAndShadingAndKeepsAscii) {
    struct Case {
        unsigned char byte;
        const char* utf8;
    } cases[] = {{0xDA, "┌"}, {0xC4, "─"},      {0xBF, "┐"}, {0xB3, "│"}, {0xC0, "└"}, {0xD9, "┘"},
                 {0xDB, "█"}, {0xB2, "▓"},      {0xB1, "▒"}, {0xB0, "░"}, {0x80, "Ç"}, {0x9E, "₧"},
                 {0xE1, "ß"}, {0xFF, "\u00A0"}, {'A', "A"},  {'\n', "\n"}};
    for (const Case& c : cases) {
        EXPECT_EQ(Cp437ToUtf8(std::string(1, static_cast<char>(c.byte))), c.utf8)
            << "byte " << int{c.byte};
    }
}

TEST(Cp437, GivesEveryUpperByteItsOwnCharacter) {
    std::set<char32_t> seen;
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        const char32_t codePoint = Cp437CodePoint(static_cast<unsigned char>(byte));
        EXPECT_GE(codePoint, 0xA0u) << byte;
        seen.insert(codePoint);
    }
    EXPECT_EQ(seen.size(), 128u);
}

TEST(JsonString, EscapesControlsAndKeepsValidUtf8) {
    EXPECT_EQ(JsonString("a\"b\\c\n\t\x01"), "\"a\\\"b\\\\c\\n\\t\\u0001\"");
    EXPECT_EQ(JsonString("┌─┐"), "\"┌─┐\"");
    // A byte that starts no valid sequence is taken as Latin-1.
    EXPECT_EQ(JsonString("\xE9t\xC3"), "\"\\u00e9t\\u00c3\"");
}

TEST(JsonWriter, PlacesCommasBetweenMembersAndElements) {
    JsonWriter json;
    json.BeginObject().Key("a").Number(1).Key("b").BeginArray().String("x").Null().Bool(true);
    json.EndArray().Key("c").BeginObject().EndObject().EndObject();
    EXPECT_EQ(json.Text(), "{\"a\":1,\"b\":[\"x\",null,true],\"c\":{}}");
}

TEST(PollTable, AlignsColumnsAndCutsLongValues) {
    const std::vector<PollRow> rows{
        {"level", "01DW0100020", "word", "1234", "OK", "PLC 1 online"},
        {"t", "01DF0100024", "float[2]", "1.5 2.25 3.125", "FAILED", "PLC 1 failed"},
    };
    const auto lines = RenderPollTable(rows, 8);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "NAME   ADDRESS      TYPE      VALUE     RESULT  PLC");
    EXPECT_EQ(lines[1], "level  01DW0100020  word      1234      OK      PLC 1 online");
    EXPECT_EQ(lines[2], "t      01DF0100024  float[2]  1.5 2...  FAILED  PLC 1 failed");
}

TEST(InPlaceScreen, MovesBackOverThePreviousFrameAndCutsToTheWidth) {
    InPlaceScreen screen(10);
    EXPECT_EQ(screen.Frame({"one", "a line that is too long"}), "\x1b[Jone\na line th\n");
    EXPECT_EQ(screen.Frame({"two"}), "\x1b[2F\x1b[Jtwo\n");
}

TEST(LogTail, KeepsTheLastLines) {
    LogTail tail(2);
    for (const char* line : {"a", "b", "c"}) tail.Add(line);
    EXPECT_EQ(tail.Lines(), (std::deque<std::string>{"b", "c"}));
    EXPECT_EQ(tail.Total(), 3u);
}

}  // namespace

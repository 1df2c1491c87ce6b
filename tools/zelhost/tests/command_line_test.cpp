// The command line: commands, their arguments, and which options apply where.
#include <gtest/gtest.h>

#include "command_line.h"

namespace {

using namespace zelhost;

ParsedCommandLine Parse(std::initializer_list<const char*> words) {
    return ParseCommandLine(std::vector<std::string>(words.begin(), words.end()));
}

TEST(CommandLine, TakesOptionsBeforeAndAfterTheCommand) {
    const auto parsed = Parse({"--module", "m.so", "poll", "plant.tags", "--cycles=3", "--interval",
                               "250", "--instance", "7", "--format", "json"});
    ASSERT_EQ(parsed.error, "");
    const Options& o = parsed.options;
    EXPECT_EQ(o.command, Command::Poll);
    EXPECT_EQ(o.arguments, std::vector<std::string>{"plant.tags"});
    EXPECT_EQ(o.modulePath, "m.so");
    EXPECT_EQ(o.cycles, 3);
    EXPECT_EQ(o.intervalMs, 250);
    EXPECT_EQ(o.instance, 7);
    EXPECT_EQ(o.format, OutputFormat::Json);
}

TEST(CommandLine, WriteTakesNegativeValuesAndValuesAfterDoubleDash) {
    const auto parsed = Parse({"write", "01DW0100020", "-5", "--type", "int16", "--", "--7"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.arguments, (std::vector<std::string>{"01DW0100020", "-5", "--7"}));
    EXPECT_EQ(parsed.options.type, ValueType::Int16);
}

struct BadCommandLine {
    std::vector<const char*> words;
    const char* error;
};

class CommandLineFault : public testing::TestWithParam<BadCommandLine> {};

TEST_P(CommandLineFault, IsRefusedWithAReason) {
    const auto& words = GetParam().words;
    EXPECT_EQ(ParseCommandLine(std::vector<std::string>(words.begin(), words.end())).error,
              GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, CommandLineFault,
    testing::Values(
        BadCommandLine{{"frobnicate"}, "unknown command 'frobnicate'"},
        BadCommandLine{{"--log", "x"}, "no command given"},
        BadCommandLine{{"check"}, "usage: zelhost check TAGFILE"},
        BadCommandLine{{"write", "01DW0100020"},
                       "usage: zelhost write ADDRESS VALUE... [--type T]"},
        BadCommandLine{{"read", "a", "b"}, "usage: zelhost read ADDRESS [--type T] [--count N]"},
        BadCommandLine{{"read", "a", "--colour"}, "unknown option --colour"},
        BadCommandLine{{"read", "a", "--type"}, "--type needs a value"},
        BadCommandLine{
            {"read", "a", "--type", "real"},
            "unknown type 'real' (types: bit, byte, word, int16, int32, uint32, float, string)"},
        BadCommandLine{{"read", "a", "--count", "0"},
                       "--count needs a whole number from 1 to 65535, not '0'"},
        BadCommandLine{{"poll", "t", "--cycles", "0"},
                       "--cycles needs a whole number of 1 or more, not '0'"},
        BadCommandLine{{"poll", "t", "--interval", "-1"},
                       "--interval needs milliseconds from 0 to 3600000, not '-1'"},
        BadCommandLine{{"check", "t", "--instance", "x1"},
                       "--instance needs a whole number, not 'x1'"},
        BadCommandLine{{"check", "t", "--format", "xml"}, "--format is text or json, not 'xml'"},
        BadCommandLine{{"check", "t", "--count", "2"}, "--count does not apply to check"},
        BadCommandLine{{"describe", "--instance", "2"}, "--instance does not apply to describe"},
        BadCommandLine{{"check", "t", "--timestamps=yes"}, "--timestamps takes no value"}));

TEST(CommandLine, HelpWinsOverEverythingElse) {
    EXPECT_EQ(Parse({"read", "--bogus", "--help"}).options.command, Command::Help);
}

}  // namespace

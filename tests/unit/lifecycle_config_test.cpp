// The per-instance configuration file: name, comments, keys, slot lines, carried values.
#include <climits>
#include <map>
#include <string>
#include <vector>

#include "entry/context_access.h"
#include "lifecycle/config_file.h"
#include "unit/lifecycle_test_support.h"

namespace {

using namespace zelmpi;
using lifecycle_test::FillContext;
using Strings = std::vector<std::string>;
using Slots = std::map<int, int>;  // PLC number -> slot, for the entries that are not 2

class ConfigFileTest : public lifecycle_test::TemporaryCurrentDirectory {
  protected:
    void SetUp() override {
        TemporaryCurrentDirectory::SetUp();
        FillContext(context, 0xEE);
        ResetStations(context);
    }
    void Read(const std::string& content, int instance = 1) {
        char name[kConfigFileNameSize];
        FormatConfigFileName(instance, name);
        WriteFile(name, content);
        ReadConfigFile(context, instance);
    }
    void ExpectSlots(const Slots& expected) {
        for (int plc = 0; plc < kPlcNumbers; ++plc) {
            const auto found = expected.find(plc);
            EXPECT_EQ(context.SlotTable[plc], found == expected.end() ? 2 : found->second)
                << "PLC " << plc;
        }
    }
    DriverContext context;
};

TEST_F(ConfigFileTest, MissingFileLogsOnceAndLeavesTheDefaults) {
    context.longDb = 1;
    context.floatOddAddress = 1;
    ReadConfigFile(context, 1);
    EXPECT_EQ(fakes::LogLines(), Strings{"RavUDE : File ravUDE01.int not found !"});
    ExpectSlots({});
    EXPECT_EQ(context.longDb, 0);
    EXPECT_EQ(context.floatOddAddress, 0);
}

TEST_F(ConfigFileTest, FileNameFollowsTheInstanceNumberWhateverItsSize) {
    const std::pair<int, std::string> cases[] = {
        {0, "ravUDE00.int"},          {7, "ravUDE07.int"},
        {12, "ravUDE12.int"},         {123, "ravUDE123.int"},
        {123456, "ravUDE123456.int"}, {INT_MAX, "ravUDE2147483647.int"},
        {-1, "ravUDE-01.int"},        {INT_MIN, "ravUDE-2147483648.int"},
    };
    for (const auto& [instance, name] : cases) {
        fakes::ClearCalls();
        ReadConfigFile(context, instance);
        EXPECT_EQ(fakes::LogLines(), Strings{"RavUDE : File " + name + " not found !"}) << instance;
        WriteFile(name, "5=4\n");
        fakes::ClearCalls();
        ReadConfigFile(context, instance);
        EXPECT_EQ(fakes::LogLines(), Strings{"RavUDE: Set Plc 5 to Slot # 4"}) << instance;
    }
}

struct SingleLineCase {
    std::string line;
    uint8_t longDb;
    uint8_t floatOddAddress;
    Slots slots;
    Strings log;
};

TEST_F(ConfigFileTest, EachSingleLineHasItsEffect) {
    const std::string longDb = "RAVUDE: Set long DB to YES (4 digits)";
    const std::string oddFloat = "RAVUDE : Odd address are allowed for float tags";
    const SingleLineCase cases[] = {
        {"LONG_DB = YES\n", 1, 0, {}, {longDb}},
        {"FLOAT_ODD_ADDRESS=YES\n", 0, 1, {}, {oddFloat}},
        {"LONG_DB=NO\n", 0, 0, {}, {}},
        {"YES LONG_DB\n", 0, 0, {}, {}},
        {"long_db=yes\n", 0, 0, {}, {}},
        {"LONG_DB=YES FLOAT_ODD_ADDRESS=YES\n", 1, 0, {}, {longDb}},
        {"FLOAT_ODD_ADDRESS=YES LONG_DB=NO\n", 0, 0, {}, {}},
        {"5 = 4\n", 0, 0, {{5, 4}}, {"RavUDE: Set Plc 5 to Slot # 4"}},
        {"98=8\n", 0, 0, {{98, 8}}, {"RavUDE: Set Plc 98 to Slot # 8"}},
        {"3=11\n", 0, 0, {{3, 11}}, {"RavUDE: Set Plc 3 to Slot # 11"}},
        {"0=0\n", 0, 0, {{0, 0}}, {"RavUDE: Set Plc 0 to Slot # 0"}},
        {"7=300\n", 0, 0, {{7, 44}}, {"RavUDE: Set Plc 7 to Slot # 44"}},
        {"7=-1\n", 0, 0, {{7, 255}}, {"RavUDE: Set Plc 7 to Slot # 255"}},
        {"99=2\n", 0, 0, {}, {}},
        {"-1=2\n", 0, 0, {}, {}},
        {"4294967301=3\n", 0, 0, {}, {}},   // never wraps round to PLC 5
        {"-4294967291=3\n", 0, 0, {}, {}},  // nor to PLC 5 from below
        {" // note\n", 0, 0, {}, {}},
        {"// 5=4\n", 0, 0, {}, {}},
        {";5=4\n", 0, 0, {}, {}},
        {"3\t=\t2\n", 0, 0, {{3, 99}}, {"RavUDE: Set Plc 3 to Slot # 99"}},
        {"\t+6=\t5\n", 0, 0, {{6, 5}}, {"RavUDE: Set Plc 6 to Slot # 5"}},
        {"5=4", 0, 0, {{5, 4}}, {"RavUDE: Set Plc 5 to Slot # 4"}},
        {"5=4\r\n", 0, 0, {{5, 4}}, {"RavUDE: Set Plc 5 to Slot # 4"}},
        {"\n", 0, 0, {}, {}},
        {"", 0, 0, {}, {}},
    };
    for (const SingleLineCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.line));
        ResetStations(context);
        fakes::ClearCalls();
        Read(c.line);
        EXPECT_EQ(context.longDb, c.longDb);
        EXPECT_EQ(context.floatOddAddress, c.floatOddAddress);
        ExpectSlots(c.slots);
        EXPECT_EQ(fakes::LogLines(), c.log);
    }
}

TEST_F(ConfigFileTest, ScanValuesCarryFromLineToLine) {
    Read("3=2\nhello\n");
    EXPECT_EQ(fakes::LogLines(),
              (Strings{"RavUDE: Set Plc 3 to Slot # 2", "RavUDE: Set Plc 3 to Slot # 2"}));

    ResetStations(context);
    fakes::ClearCalls();
    Read("3=5\n7\n");
    ExpectSlots({{3, 5}, {7, 5}});

    ResetStations(context);
    fakes::ClearCalls();
    Read("hello\n7\n");  // nothing before a PLC number; then slot 99 for it
    ExpectSlots({{7, 99}});
    EXPECT_EQ(fakes::LogLines(), Strings{"RavUDE: Set Plc 7 to Slot # 99"});
}

TEST_F(ConfigFileTest, CommentsAnywhereAndEveryKindOfLineInOneFile) {
    Read(
        "// slots of the line\n"
        ";old=1\n"
        "1=3\n"
        "//2=9\n"
        "  LONG_DB  =  YES\n"
        "; FLOAT_ODD_ADDRESS=YES\n"
        "FLOAT_ODD_ADDRESS = YES\n"
        "2=4");
    ExpectSlots({{1, 3}, {2, 4}});
    EXPECT_EQ(context.longDb, 1);
    EXPECT_EQ(context.floatOddAddress, 1);
    EXPECT_EQ(fakes::LogLines(),
              (Strings{"RavUDE: Set Plc 1 to Slot # 3", "RAVUDE: Set long DB to YES (4 digits)",
                       "RAVUDE : Odd address are allowed for float tags",
                       "RavUDE: Set Plc 2 to Slot # 4"}));
}

TEST_F(ConfigFileTest, FlagsAreClearedByEveryRead) {
    Read("LONG_DB=YES\nFLOAT_ODD_ADDRESS=YES\n");
    ASSERT_EQ(context.longDb, 1);
    Read("LONG_DB=NO\n");
    EXPECT_EQ(context.longDb, 0);
    EXPECT_EQ(context.floatOddAddress, 0);
}

// A line holds at most 135 characters with its line end. A longer one is skipped whole with one
// log line; neither its head nor its tail is applied.
TEST_F(ConfigFileTest, OverLongLineIsSkippedWholeAndLogged) {
    const std::string longest = "5=4" + std::string(131, ' ') + "\n";  // 135 characters
    ASSERT_EQ(longest.size(), 135u);
    const std::string tooLong = "8=6" + std::string(132, ' ') + "9=7\n";  // 139 characters
    const std::string oneOver = "6=1" + std::string(132, ' ') + "\n";     // 136 characters
    Read("// first\n" + longest + tooLong + oneOver + "2=3\n" + "// " + std::string(300, 'c') +
         "\n" + std::string(500, '1') + "=1");
    ExpectSlots({{5, 4}, {2, 3}});
    EXPECT_EQ(
        fakes::LogLines(),
        (Strings{"RavUDE: Set Plc 5 to Slot # 4",
                 "RavUDE : File ravUDE01.int, line 3 longer than 135 characters, line ignored !",
                 "RavUDE : File ravUDE01.int, line 4 longer than 135 characters, line ignored !",
                 "RavUDE: Set Plc 2 to Slot # 3",
                 "RavUDE : File ravUDE01.int, line 7 longer than 135 characters, line ignored !"}));
}

TEST_F(ConfigFileTest, NextConfigLineSkipsCommentsAndReportsTheEnd) {
    WriteFile("lines.int", ";a\n//b\nc\n/d\n;e");
    FILE* stream = std::fopen("lines.int", "r");
    ASSERT_NE(stream, nullptr);
    ConfigFile file{stream, "lines.int", 0};
    char line[kConfigLineSize];
    ASSERT_TRUE(NextConfigLine(file, line));
    EXPECT_STREQ(line, "c\n");
    ASSERT_TRUE(NextConfigLine(file, line));
    EXPECT_STREQ(line, "/d\n");
    EXPECT_FALSE(NextConfigLine(file, line));
    EXPECT_FALSE(NextConfigLine(file, line));
    EXPECT_EQ(file.lineNumber, 5);
    std::fclose(stream);
}

}  // namespace

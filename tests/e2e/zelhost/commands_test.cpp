// zelhost's commands run as a process against the built module and the simulated PLCs: the
// description, the road of one tag with its log and PLC calls in order, a write read back,
// the check of a tag list, and a poll ended by the host's shutdown.
#include <gtest/gtest.h>

#include <regex>

#include "zelhost_process.h"

namespace {

using namespace zelhost_e2e;

const std::string kExamples = EXAMPLES_DIR;
constexpr const char* kDriverLine = "RavUDE: Siemens S7 MPI driver, compiled on ";

// A line with each run of blanks made one blank, so that tables compare whatever the widths.
std::string Squeezed(const std::string& line) {
    return std::regex_replace(line, std::regex(" +"), " ");
}

using Commands = ZelhostProcess;

TEST_F(Commands, DescribeShowsTheBannerInUtf8) {
    const ProcessResult text = Zelhost({"describe"});
    EXPECT_EQ(text.status, 0) << text.err;
    const auto lines = Lines(text.out);
    ASSERT_EQ(lines.size(), 10u) << text.out;
    EXPECT_EQ(lines[0], "driver code:  82");
    EXPECT_EQ(lines[1], "device name:  SIEMENS, SIMATIC S7");
    EXPECT_EQ(lines[2], "context size: 336 bytes");
    std::string top = "┌", bottom = "└";
    for (int i = 0; i < 61; ++i) top += "─", bottom += "─";
    EXPECT_EQ(lines[4], top + "┐");
    EXPECT_EQ(lines[5].substr(0, 3 + 1 + 5 * 3), "│ █████");
    EXPECT_EQ(lines[6], "│           SIEMENS SIMATIC S7, Driver installed.             │");
    EXPECT_EQ(lines[9], bottom + "┘");

    const ProcessResult json = Zelhost({"describe", "--format", "json"});
    EXPECT_EQ(json.status, 0);
    EXPECT_EQ(json.out.rfind("{\"driverCode\":82,\"deviceName\":\"SIEMENS, SIMATIC S7\","
                             "\"contextSize\":336,\"banner\":\"\\n┌─",
                             0),
              0u)
        << json.out;
}

TEST_F(Commands, TheRoadOfOneTagLogsConnectReadAndShutdownInOrder) {
    WriteFile(dir / "road.sim", "plc 1\ndb 10 64\nword DB10.20 0x1234\n");
    const ProcessResult run =
        Zelhost({"read", "01DW0100020", "--sim", "road.sim", "--trace", "--log", "log.txt"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "01DW0100020 word = 4660\n");
    EXPECT_EQ(run.err, "");
    auto log = Lines(ReadFile(dir / "log.txt"));
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log[0].rfind(kDriverLine, 0), 0u) << log[0];
    log.erase(log.begin());
    const std::vector<std::string> expected{
        "RavUDE : File ravUDE01.int not found !",
        "w95_s7: unload_tool() = 0",
        "w95_s7: load_tool(1, 0, [1 0 2 0]) = 0",
        "w95_s7: unload_tool() = 0",
        "w95_s7: load_tool(1, 0, [1 0 2 0]) = 0",
        "w95_s7: select_station(1) = 0",
        "RavUDE : Connect to PLC 1 Success !",
        "w95_s7: d_field_read(10, 20, 2) = 0 [12 34]",
        "RavUDE : ShutDown !!!",
        "w95_s7: unload_tool() = 0",
        "RavUDE: unload_tool() success 0",
    };
    EXPECT_EQ(log, expected);
}

TEST_F(Commands, WriteShowsTheValueReadBackInTheSameInstance) {
    const ProcessResult run = Zelhost({"write", "02DW0100030", "-300", "--type", "int16"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "02DW0100030 int16 := -300, read back: -300\n");
}

TEST_F(Commands, CheckReportsEachRefusalWithItsLineAndTheModulesMessage) {
    const std::string file = kExamples + "/bad.tags";
    const ProcessResult run = Zelhost({"check", file});
    EXPECT_EQ(run.status, 1) << run.err;
    const std::vector<std::string> expected{
        file +
            ":4: tag wrong_letter (02DZ0100020, word): RAVUDE> ParseAddress() wrong characters in "
            "address string",
        file +
            ":5: tag odd_float (02DF0100025, float): RAVUDE> ParseAddress() tag address should be "
            "even for this type",
        file +
            ":6: tag long_string (02DS010004081, string): RAVUDE> ParseAddress() wrong string "
            "length, should be from 1 to 80",
        file +
            ":7: tag bit_16 (02DW010002016, bit): RAVUDE> ParseAddress() wrong bit number in "
            "address string",
        file +
            ":8: tag missing_bit (02DW0100020, bit): RAVUDE> ParseAddress() wrong address string "
            "length for this type, should be 13 but is 11",
        file +
            ":9: tag int_on_word (02DW0100020, int32): type int32 does not fit 02DW0100020, a "
            "data-block word; use word or int16",
        file +
            ":10: tag too_many (02DD0100008, int32): the module refuses a block of 126 elements "
            "for this tag (OP_CHECK_SIZE)",
        file + ": 8 tags, 1 accepted, 7 refused",
    };
    EXPECT_EQ(Lines(run.out), expected);
    // Quoted in the report, the refusals are not repeated in the log on standard error.
    EXPECT_EQ(run.err.find("ParseAddress"), std::string::npos) << run.err;
}

TEST_F(Commands, CheckAcceptsTheDemoTagsAndHonoursTheInstanceConfiguration) {
    const ProcessResult demo = Zelhost({"check", kExamples + "/demo.tags"});
    EXPECT_EQ(demo.status, 0) << demo.out << demo.err;
    EXPECT_EQ(demo.out, kExamples + "/demo.tags: 18 tags, 18 accepted, 0 refused\n");

    // Four-digit data block numbers come from instance 3's file.
    WriteFile(dir / "ravUDE03.int", "LONG_DB=YES\n");
    WriteFile(dir / "long.tags", "long 01DW01230020 word\nshort 01DW0100020 word\n");
    const ProcessResult run = Zelhost({"check", "long.tags", "--instance", "3"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out,
              "long.tags:2: tag short (01DW0100020, word): RAVUDE> ParseAddress() wrong address "
              "string length for this type, should be 12 but is 11\n"
              "long.tags: 2 tags, 1 accepted, 1 refused\n");
    EXPECT_NE(run.err.find("RAVUDE: Set long DB to YES (4 digits)"), std::string::npos) << run.err;
}

TEST_F(Commands, PollReadsEveryCycleAndEndsWithTheWorkerThreadsShutdown) {
    std::filesystem::copy_file(kExamples + "/ravUDE01.int", dir / "ravUDE01.int");
    const ProcessResult run = Zelhost(
        {"poll", kExamples + "/demo.tags", "--cycles", "2", "--interval", "0", "--log", "log.txt"});
    EXPECT_EQ(run.status, 0) << run.err;
    std::vector<std::string> out;
    for (const std::string& line : Lines(run.out)) out.push_back(Squeezed(line));
    const std::string title = "zelhost poll " + kExamples + "/demo.tags: cycle ";
    ASSERT_EQ(out.size(), 2u * 20u + 1u) << run.out;
    for (size_t cycle = 0; cycle < 2; ++cycle) {
        const size_t at = cycle * 20;
        EXPECT_EQ(out[at], title + std::to_string(cycle + 1) + " of 2, every 0 ms, instance 1");
        EXPECT_EQ(out[at + 1], "NAME ADDRESS TYPE VALUE RESULT PLC");
        EXPECT_EQ(out[at + 7], "total 02DW0100002 word 1234 OK PLC 2 online");
        EXPECT_EQ(out[at + 9], "serial 02DD0100006 uint32 305419896 OK PLC 2 online");
        EXPECT_EQ(out[at + 12], "recipe 02DB0110000 byte[8] 1 2 3 4 5 6 7 8 OK PLC 2 online");
        EXPECT_EQ(out[at + 19], "pump_name 03DS021000012 string \"Pump B\" OK PLC 3 online");
    }
    EXPECT_EQ(out.back(), title + "2 of 2, every 0 ms, instance 1; done, shutting down");

    auto log = Lines(ReadFile(dir / "log.txt"));
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log[0].rfind(kDriverLine, 0), 0u) << log[0];
    log.erase(log.begin());
    const std::vector<std::string> expected{
        "RavUDE: Set Plc 2 to Slot # 2",
        "RavUDE: Set Plc 3 to Slot # 2",
        "RavUDE : Connect to PLC 2 Success !",
        "RavUDE : Connect to PLC 3 Success !",
        "RavUDE : ShutDown !!!",
        "RavUDE: unload_tool() success 0",
    };
    EXPECT_EQ(log, expected);
}

TEST_F(Commands, PollAsJsonShowsAnAbsentPlcOfflineAndFailsTheRun) {
    WriteFile(dir / "two.tags", "total 02DW0100002 word\nghost 05DW0100002 word\n");
    const ProcessResult run = Zelhost({"poll", "two.tags", "--cycles", "1", "--format", "json"});
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_EQ(
        run.out,
        "{\"cycle\":1,\"tags\":["
        "{\"name\":\"total\",\"address\":\"02DW0100002\",\"type\":\"word\",\"result\":\"OK\","
        "\"values\":[1234],\"plc\":2,\"plcState\":\"online\"},"
        "{\"name\":\"ghost\",\"address\":\"05DW0100002\",\"type\":\"word\",\"result\":\"OFFLINE\","
        "\"values\":[],\"plc\":5,\"plcState\":\"offline\"}]}\n");
}

}  // namespace

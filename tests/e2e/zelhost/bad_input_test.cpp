// Bad input to zelhost itself: each answered with one clear message and its exit status
// (2 usage or input file, 3 module), before any PLC is reached.
#include <gtest/gtest.h>

#include "zelhost_process.h"

namespace {

using namespace zelhost_e2e;

struct BadInput {
    const char* what;
    std::vector<std::string> arguments;
    std::vector<std::pair<const char*, std::string>> files;  // name, text
    int status;
    std::string message;  // the first line on standard error
};

void PrintTo(const BadInput& input, std::ostream* out) {
    *out << input.what;
}

class ZelhostBadInput : public ZelhostProcess, public testing::WithParamInterface<BadInput> {};

TEST_P(ZelhostBadInput, IsRefusedWithAClearMessage) {
    for (const auto& [name, text] : GetParam().files) WriteFile(dir / name, text);
    const ProcessResult run = Zelhost(GetParam().arguments);
    EXPECT_EQ(run.status, GetParam().status);
    EXPECT_EQ(run.out, "");
    const auto lines = Lines(run.err);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], GetParam().message);
}

const std::string kTypes = "bit, byte, word, int16, int32, uint32, float, string";

INSTANTIATE_TEST_SUITE_P(
    Cases, ZelhostBadInput,
    testing::Values(
        BadInput{"missing tag list",
                 {"check", "none.tags"},
                 {},
                 2,
                 "zelhost: cannot read the tag list none.tags"},
        BadInput{"unknown type in the tag list",
                 {"poll", "t.tags"},
                 {{"t.tags", "# tags\nlevel 01DW0100020 long\n"}},
                 2,
                 "t.tags:2: unknown type 'long' (types: " + kTypes + ")"},
        BadInput{"duplicate tag name",
                 {"check", "t.tags"},
                 {{"t.tags", "a 01DW0100020 word\nb 01DW0100022 word\na 01DW0100024 word\n"}},
                 2,
                 "t.tags:3: duplicate tag name 'a' (first on line 1)"},
        BadInput{"module without ZelMain",
                 {"describe", "--module", NO_ENTRY_MODULE},
                 {},
                 3,
                 std::string("zelhost: ") + NO_ENTRY_MODULE +
                     " is not a driver module: it has no ZelMain"},
        BadInput{"module that is no library",
                 {"describe", "--module", "t.tags"},
                 {{"t.tags", std::string(4096, '#')}},
                 3,
                 "zelhost: cannot load the driver module: ./t.tags: invalid ELF header"},
        BadInput{"unknown type option",
                 {"read", "01DW0100020", "--type", "real"},
                 {},
                 2,
                 "zelhost: unknown type 'real' (types: " + kTypes + ")"},
        BadInput{"value out of range",
                 {"write", "01DW0100020", "70000", "--type", "word"},
                 {},
                 2,
                 "zelhost: '70000' is out of range for word (0 to 65535)"},
        BadInput{"value not a number",
                 {"write", "01DF0100024", "1,5", "--type", "float"},
                 {},
                 2,
                 "zelhost: '1,5' is not a number"},
        BadInput{"missing plant file",
                 {"read", "01DW0100020", "--sim", "none.sim"},
                 {},
                 2,
                 "zelhost: cannot read the simulated PLC file none.sim"},
        BadInput{"faulty plant file",
                 {"read", "01DW0100020", "--sim", "bad.sim"},
                 {{"bad.sim", "db 10 64\n"}},
                 2,
                 "zelhost: bad.sim: line 1: 'plc <mpi>' must come first"},
        BadInput{"log file that cannot be opened",
                 {"describe", "--log", "no/such/dir/log.txt"},
                 {},
                 2,
                 "zelhost: cannot open the log file no/such/dir/log.txt"},
        BadInput{
            "unknown command", {"frobnicate"}, {}, 2, "zelhost: unknown command 'frobnicate'"}),
    [](const testing::TestParamInfo<BadInput>& param) {
        std::string name = param.param.what;
        for (char& c : name) {
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        }
        return name;
    });

using RefusedTag = ZelhostProcess;

TEST_F(RefusedTag, EndsTheReadWithTheModulesMessageAndStatus1OrAskForTheType) {
    const ProcessResult run = Zelhost({"read", "01XZ0100020"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("zelhost: cannot tell the type of 01XZ0100020"), std::string::npos)
        << run.err;
    const ProcessResult typed = Zelhost({"read", "01XZ0100020", "--type", "word"});
    EXPECT_EQ(typed.status, 1);
    EXPECT_NE(typed.err.find("zelhost: 01XZ0100020 (word): RAVUDE> ParseAddress() wrong "
                             "characters in address string"),
              std::string::npos)
        << typed.err;
}

}  // namespace

// StringTagLength: the length a string tag's address declares, read from the transfer block.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "addressing/string_tag_length.h"
#include "zelmpi/zelmpi.h"

namespace {

using namespace zelmpi;

int LengthDeclaredBy(const char* addressText, bool longDb) {
    DriverContext context{};
    context.longDb = longDb ? 1 : 0;
    TagTransfer transfer{};
    transfer.addressText = addressText;
    DriverRequest request{&context, OP_READ_BLOCK, 0, 0, &transfer};
    return StringTagLength(&request);
}

TEST(StringTagLength, ReadsTheTwoLengthPositionsOfEitherLayout) {
    struct Case {
        const char* address;
        bool longDb;
        int expected;
    };
    const std::vector<Case> cases = {
        {"01DS010002010", false, 10},
        {"01SB010002010", false, 10},
        {"01DS010002080", false, 80},
        {"01DS0100020 5", false, 5},
        {"01DS01000205 ", false, 5},
        {"01ds010002007", false, 7},
        {"01DS1234002010", true, 10},
        {"01DS12340020 7", true, 7},
        {"01DS123400207 ", true, 7},
        // Nothing beyond the two positions is read.
        {"01DS010002010999", false, 10},
        {"01DS1234002010\xFF\xFF", true, 10},
        // Strings the parser would refuse: no crash, no read past the end.
        {"01DS0100020", false, 0},
        {"01DS01000201", false, 1},
        {"01DS", false, 0},
        {"", true, 0},
        {nullptr, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.address == nullptr ? "(null)" : c.address) +
                     (c.longDb ? " long" : ""));
        EXPECT_EQ(LengthDeclaredBy(c.address, c.longDb), c.expected);
    }
}

}  // namespace

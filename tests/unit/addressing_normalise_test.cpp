// Normalisation of address strings: case folding by the signed-byte rule, padding, and a copy
// bounded by the examined positions whatever the host passes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "addressing/normalised_address.h"

namespace {

using namespace zelmpi;

std::string Normalised(const std::string& addressText) {
    NormalisedAddress normalised;
    normalised.fill('?');
    NormaliseAddress(addressText.c_str(), normalised);
    return std::string(normalised.data(), normalised.size());
}

TEST(NormaliseAddress, FoldsCasePadsAndCopiesNoMoreThanIsExamined) {
    const std::string nul(1, '\0');
    struct Case {
        std::string address;
        std::string expected;  // all 16 positions
    };
    const std::vector<Case> cases = {
        {"01dw0100020", "01DW0100020  " + nul + nul + nul},
        {"", std::string(13, ' ') + nul + nul + nul},
        {"01MB0012", "01MB0012     " + nul + nul + nul},
        {"01DS010002010", "01DS010002010" + nul + nul + nul},
        {"01DS1234002010", "01DS1234002010" + nul + nul},
        {"01mb0012     xyz and more", "01MB0012     X" + nul + nul},
        // Every code from 0x61 up moves down by 0x20, 0x7B-0x7F included; as signed bytes,
        // 0x80-0xFF are below 0x61 and stay.
        {"`az{|}~\x7F", "`AZ[\\]^_     " + nul + nul + nul},
        {"\x80\xA0\xE1\xFF", "\x80\xA0\xE1\xFF         " + nul + nul + nul},
        {std::string(5000, 'q'), std::string(14, 'Q') + nul + nul},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address.substr(0, 30));
        EXPECT_EQ(Normalised(c.address), c.expected);
    }
}

}  // namespace

// The entry point, its table and the description block, through ZelMain.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "fakes/call_log.h"
#include "zelmpi/zelmpi.h"

namespace {

using namespace zelmpi;

TEST(Describe, FillsTheBlockAndLeavesBytes20To27) {
    DriverInfo info;
    std::memset(&info, 0xA5, sizeof info);
    DriverRequest request{nullptr, OP_DESCRIBE, 0, 0, &info};
    ASSERT_EQ(ZelMain(&request), DRV_OK);
    EXPECT_EQ(info.driverCode, 82);
    EXPECT_STREQ(info.deviceName, "SIEMENS, SIMATIC S7");
    EXPECT_EQ(info.contextSize, 336);
    EXPECT_EQ(info.value16, 1);
    EXPECT_EQ(info.value28, 3);
    for (uint8_t byte : info.untouched) EXPECT_EQ(byte, 0xA5);

    DriverInfo again{};
    request.params = &again;
    ASSERT_EQ(ZelMain(&request), DRV_OK);
    EXPECT_EQ(again.deviceName, info.deviceName);
    EXPECT_EQ(again.banner, info.banner);
}

TEST(Describe, BannerIsSixFrameLinesOf63CodePage437Characters) {
    DriverInfo info{};
    DriverRequest request{nullptr, OP_DESCRIBE, 0, 0, &info};
    ASSERT_EQ(ZelMain(&request), DRV_OK);
    const std::string banner(info.banner);
    ASSERT_EQ(banner.size(), 385u);
    ASSERT_EQ(banner[0], '\n');
    EXPECT_EQ(banner.find('\r'), std::string::npos);
    const std::string lines[] = {banner.substr(1, 63),   banner.substr(65, 63),
                                 banner.substr(129, 63), banner.substr(193, 63),
                                 banner.substr(257, 63), banner.substr(321, 63)};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(banner[static_cast<size_t>(64 + 64 * i)], '\n') << "after line " << i + 1;
    EXPECT_EQ(lines[0], "\xDA" + std::string(61, '\xC4') + "\xBF");
    EXPECT_EQ(lines[1], "\xB3 " + std::string(5, '\xDB') + std::string(6, '\xB2') +
                            std::string(6, '\xB1') + std::string(6, '\xB0') + " Z E L M P I " +
                            std::string(6, '\xB0') + std::string(6, '\xB1') +
                            std::string(6, '\xB2') + std::string(5, '\xDB') + " \xB3");
    EXPECT_EQ(lines[2], "\xB3" + std::string(11, ' ') + "SIEMENS SIMATIC S7, Driver installed." +
                            std::string(13, ' ') + "\xB3");
    EXPECT_EQ(lines[3], "\xB3" + std::string(8, ' ') +
                            "Siemens SIMATIC S7, S7-300/400, PC/MPI cable" + std::string(9, ' ') +
                            "\xB3");
    EXPECT_EQ(lines[4].substr(0, 8), "\xB3" + std::string(7, ' '));
    EXPECT_EQ(lines[4].back(), '\xB3');
    const std::string notice = lines[4].substr(8, 54);
    const auto end = notice.find_last_not_of(' ');
    EXPECT_EQ(notice.substr(0, end + 1).substr(end + 1 - 15), " - Version 8.00");
    EXPECT_EQ(lines[5], "\xC0" + std::string(61, '\xC4') + "\xD9");
}

TEST(OperationTable, NoOperationsAnswerOkAndTouchNothing) {
    DriverContext context;
    std::memset(&context, 0x5A, sizeof context);
    unsigned char params[64];
    std::memset(params, 0x3C, sizeof params);
    fakes::ResetAllFakes();
    for (int32_t code : {OP_NOP_2, OP_NOP_11}) {
        DriverRequest request{&context, code, 1, 0, params};
        EXPECT_EQ(ZelMain(&request), DRV_OK) << code;
    }
    for (unsigned char byte : params) EXPECT_EQ(byte, 0x3C);
    const auto* raw = reinterpret_cast<const unsigned char*>(&context);
    for (size_t i = 0; i < sizeof context; ++i) EXPECT_EQ(raw[i], 0x5A) << i;
    EXPECT_TRUE(fakes::Calls().empty());
}

TEST(OperationTable, CodesWithoutHandlerFailAndCallNothing) {
    fakes::ResetAllFakes();
    for (int32_t code : {0, 8, 9, 16, -1, 1000, INT32_MIN, INT32_MAX}) {
        // A null context and block: a missing handler must not look at them.
        DriverRequest request{nullptr, code, 0, 0, nullptr};
        EXPECT_EQ(ZelMain(&request), DRV_FAILED) << code;
    }
    EXPECT_TRUE(fakes::Calls().empty());
}

}  // namespace

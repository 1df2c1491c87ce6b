// The road of one tag: 01DW0100020 defined, then read through the station manager, the link
// and the simulated PLC, call for call.
#include <string>
#include <vector>

#include "e2e_host.h"

namespace e2e {
namespace {

using Lines = std::vector<std::string>;

TEST(PlcRoad, OneWordTagFromDefinitionToTheHostsArray) {
    S7StandinReset();
    const uint8_t plcWord[] = {0x80, 0x01};
    ASSERT_EQ(S7StandinWriteBytes(1, S7_STANDIN_DATA_BLOCK, 10, 20, 2, plcWord), 0);
    CapturedLog log;
    Host host;
    ASSERT_EQ(host.Init(0), DRV_OK);

    TagTransfer tag = host.Define("01DW0100020", 1);
    EXPECT_EQ(tag.tag.plc, 1);
    EXPECT_EQ(tag.tag.accessCode, ACCESS_WORD_EVEN);
    EXPECT_EQ(tag.tag.packedAddress, 10 << 16 | 10);
    EXPECT_EQ(tag.tag.bitNumber, kNoBit);
    EXPECT_EQ(tag.tag.width, 16);

    log.Clear();
    uint16_t values[2] = {0, 0xABCD};
    ASSERT_EQ(host.Run(OP_READ_BLOCK, tag, 1, values), DRV_OK);
    EXPECT_EQ(log.Lines(),
              (Lines{"w95_s7: unload_tool() = 0", "w95_s7: load_tool(1, 0, [1 0 2 0]) = 0",
                     "w95_s7: unload_tool() = 0", "w95_s7: load_tool(1, 0, [1 0 2 0]) = 0",
                     "w95_s7: select_station(1) = 0", "RavUDE : Connect to PLC 1 Success !",
                     "w95_s7: d_field_read(10, 20, 2) = 0 [80 01]"}));
    EXPECT_EQ(values[0], 0x8001);
    EXPECT_EQ(values[1], 0xABCD);
    EXPECT_EQ(host.Context().activePlc, 1);
    EXPECT_EQ(host.Context().PlcTable[0].status, DRV_OK);

    // Any tag of PLC 1 now goes straight to the library.
    TagTransfer byteTag = host.Define("01DB0100007", 1);
    log.Clear();
    ASSERT_EQ(host.Run(OP_READ_BLOCK, byteTag, 1, values), DRV_OK);
    EXPECT_EQ(log.Lines(), Lines{"w95_s7: d_field_read(10, 7, 1) = 0 [00]"});
}

}  // namespace
}  // namespace e2e

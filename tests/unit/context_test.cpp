// The instance state block and its reset.
#include <gtest/gtest.h>

#include <cstring>

#include "entry/context_access.h"
#include "zelmpi/results.h"

namespace {

using namespace zelmpi;

TEST(ResetStations, ClearsTheStationPartOnlyWhateverTheBlockHeld) {
    DriverContext context;
    std::memset(&context, 0xEE, sizeof context);
    ResetStations(context);
    for (uint8_t slot : context.SlotTable) EXPECT_EQ(slot, 2);
    for (const PlcEntry& entry : context.PlcTable) {
        EXPECT_EQ(entry.plc, 0);
        EXPECT_EQ(entry.status, DRV_OFFLINE);
    }
    EXPECT_EQ(context.activePlc, 0);
    EXPECT_EQ(context.plcCount, 0);
    EXPECT_FALSE(IsShutDown(context));
    EXPECT_EQ(context.floatOddAddress, 0xEE);
    EXPECT_EQ(context.longDb, 0xEE);
    const auto* raw = reinterpret_cast<const unsigned char*>(&context);
    for (size_t i = 0; i < 34; ++i) EXPECT_EQ(raw[i], 0xEE) << "COM port byte " << i;
}

}  // namespace

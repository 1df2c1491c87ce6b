// A driver instance and one transfer block, driven through ZelMain with the fakes.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "entry/context_access.h"
#include "fakes/call_log.h"
#include "fakes/fake_plc.h"
#include "zelmpi/zelmpi.h"

namespace plc_test {

using namespace zelmpi;

inline TagAddress Tag(int plc, int32_t accessCode, int db, int offset, int bit = kNoBit) {
    return TagAddress{plc, accessCode, db << 16 | offset, bit, 16};
}

class PlcTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fakes::ResetAllFakes();
        ResetStations(context);
    }

    // Runs operation on the transfer block as it stands.
    int Run(int32_t operation) {
        DriverRequest request{&context, operation, 0, 0, &transfer};
        return ZelMain(&request);
    }

    int Run(int32_t operation, TagAddress tag, int32_t count, void* values,
            const char* addressText = nullptr) {
        transfer.addressText = addressText;
        transfer.tag = tag;
        transfer.elementCount = count;
        transfer.values = values;
        return Run(operation);
    }

    // The state a successful first request for plc leaves behind, without its calls.
    void Selected(int plc) {
        context.PlcTable[context.plcCount] = PlcEntry{static_cast<uint8_t>(plc), DRV_OK};
        ++context.plcCount;
        context.activePlc = static_cast<uint8_t>(plc);
    }

    PlcEntry EntryOf(int plc) const {
        for (int i = 0; i < context.plcCount; ++i) {
            if (context.PlcTable[i].plc == plc) return context.PlcTable[i];
        }
        ADD_FAILURE() << "PLC " << plc << " is not in the table";
        return PlcEntry{0, 0xFF};
    }

    DriverContext context{};
    TagTransfer transfer{};
};

}  // namespace plc_test

#include "entry/context_access.h"
#include "zelmpi/results.h"

namespace zelmpi {

void ResetStations(DriverContext& context) {
    for (PlcEntry& entry : context.PlcTable) entry = PlcEntry{0, DRV_OFFLINE};
    for (uint8_t& slot : context.SlotTable) slot = kDefaultSlot;
    context.activePlc = 0;
    context.plcCount = 0;
    SetShutdown(context, 0);
}

}  // namespace zelmpi

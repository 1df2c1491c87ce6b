// The stations the PLC library serves: the list handed to it when the link is loaded, the
// active station, and each PLC's link state. Reads and writes call EnsureStation before their
// first library call and RecordOutcome after their last attempt.
#pragma once

#include <cstdint>

#include "zelmpi/driver_request.h"

namespace zelmpi {

// Room for 15 stations; one all-zero entry more ends the list.
inline constexpr int kMaxStations = 15;

struct StationEntry {
    uint8_t plc;  // the station's MPI address
    uint8_t reserved1;
    uint8_t slot;  // CPU slot
    uint8_t reserved3;
};
static_assert(sizeof(StationEntry) == 4);

using StationList = StationEntry[kMaxStations + 1];

// 0 (DRV_OK) when the request's PLC is the selected station; 2 (DRV_OFFLINE) otherwise, and
// after shutdown, where it also unloads the link.
uint8_t EnsureStation(DriverRequest* request);

// Stores result as the request's PLC's link state; a failure also forgets the selection.
void RecordOutcome(DriverRequest* request, uint8_t result);

// Unloads the link and loads it with the current table; returns load_tool's result.
int ReloadStations(DriverRequest* request);

}  // namespace zelmpi

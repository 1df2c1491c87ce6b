#include "plc/station_manager.h"

#include "entry/context_access.h"
#include "platform/host_runtime.h"
#include "platform/kernel.h"
#include "platform/plc_library.h"
#include "plc/transfer.h"
#include "zelmpi/results.h"

namespace zelmpi {

namespace {

// The library needs time to reach the stations of a freshly loaded link.
constexpr unsigned int kConnectWaitMs = 1000;

// activePlc 0 means that no station is selected. PLC number 0 is a real station, but the
// context has no room to say that it is the selected one, so a request for PLC 0 never
// counts as already selected: it selects its station again, which costs one select call and
// no load or wait.
constexpr uint8_t kNoActivePlc = 0;

int PlcOf(const DriverRequest* request) {
    return TransferOf(request).tag.plc;
}

// Entries in use; a count beyond the list's room (a block the host never reset) is capped,
// so that nothing is read or written past the list.
int StationsInUse(const DriverContext& context) {
    return context.plcCount < kMaxStations ? context.plcCount : kMaxStations;
}

int FindStation(const DriverContext& context, int plc) {
    const int inUse = StationsInUse(context);
    for (int position = 0; position < inUse; ++position) {
        if (context.PlcTable[position].plc == plc) return position;
    }
    return -1;
}

// SlotTable covers PLC numbers 0 to 98; PLC 99 (and anything else) gets the default slot.
uint8_t SlotOf(const DriverContext& context, int plc) {
    return plc >= 0 && plc < kPlcNumbers ? context.SlotTable[plc] : kDefaultSlot;
}

uint8_t ShutDownRequest(DriverContext& context) {
    err(kLogLevel, "RavUDE : Call to Unload_tool");
    const int result = unload_tool();
    context.activePlc = kNoActivePlc;
    err(kLogLevel, "RavUDE : Unload_tool success (%d) !!!", result);
    return DRV_OFFLINE;
}

// A station that answered before (status 0 or 1) is selected at once.
uint8_t SelectKnownStation(DriverContext& context, int plc, int position) {
    const int result = select_station(position + 1);
    if (result == 0) {
        context.activePlc = static_cast<uint8_t>(plc);
        return DRV_OK;
    }
    err(kLogLevel, "RavUDE : Can not connect - to PLC %d (rc=%X)", plc,
        static_cast<unsigned int>(result));
    context.PlcTable[position].status = DRV_OFFLINE;
    context.activePlc = kNoActivePlc;
    return DRV_OFFLINE;
}

// After a fresh load of the link: wait for it, then select the station.
uint8_t ConnectStation(DriverContext& context, int plc, int position, bool newToTable) {
    Sleep(kConnectWaitMs);
    const int result = select_station(position + 1);
    if (result == 0) {
        context.activePlc = static_cast<uint8_t>(plc);
        err(kLogLevel, "RavUDE : Connect to PLC %d Success !", plc);
        context.PlcTable[position].status = DRV_OK;
        return DRV_OK;
    }
    // A station already marked offline fails quietly on every retry; its first failure spoke.
    if (newToTable) {
        err(kLogLevel, "RavUDE : Can not connect to PLC %d (rc=%X)", plc,
            static_cast<unsigned int>(result));
    }
    context.PlcTable[position].status = DRV_OFFLINE;
    context.activePlc = kNoActivePlc;
    return DRV_OFFLINE;
}

}  // namespace

int ReloadStations(DriverRequest* request) {
    DriverContext& context = ContextOf(request);
    unload_tool();
    context.activePlc = kNoActivePlc;  // the library forgets its selection with the link

    StationList list{};
    const int inUse = StationsInUse(context);
    for (int position = 0; position < inUse; ++position) {
        const uint8_t plc = context.PlcTable[position].plc;
        list[position] = StationEntry{plc, 0, SlotOf(context, plc), 0};
    }
    const int result = load_tool(static_cast<unsigned char>(inUse), 0, list);
    if (result != 0) {
        const int lastPlc = inUse > 0 ? list[inUse - 1].plc : 0;
        err(kLogLevel, "RavUDE: load_tool failed(%X), Plc#%d, %d plc's in",
            static_cast<unsigned int>(result), lastPlc, inUse);
    }
    return result;
}

uint8_t EnsureStation(DriverRequest* request) {
    DriverContext& context = ContextOf(request);
    if (IsShutDown(context)) return ShutDownRequest(context);

    const int plc = PlcOf(request);
    if (plc != kNoActivePlc && context.activePlc == plc) return DRV_OK;

    int position = FindStation(context, plc);
    if (position >= 0 && context.PlcTable[position].status != DRV_OFFLINE) {
        return SelectKnownStation(context, plc, position);
    }

    const bool newToTable = position < 0;
    if (newToTable) {
        if (StationsInUse(context) >= kMaxStations) {
            err(kLogLevel, "RavUDE : Can not connect to PLC %d, station list full (%d plc's in)",
                plc, kMaxStations);
            return DRV_OFFLINE;
        }
        position = context.plcCount;
        context.PlcTable[position] = PlcEntry{static_cast<uint8_t>(plc), DRV_OFFLINE};
        ++context.plcCount;
        if (ReloadStations(request) != 0) return DRV_OFFLINE;
    }
    // A new PLC thus loads the link twice in a row, a known PLC marked offline once.
    ReloadStations(request);
    return ConnectStation(context, plc, position, newToTable);
}

void RecordOutcome(DriverRequest* request, uint8_t result) {
    DriverContext& context = ContextOf(request);
    const int position = FindStation(context, PlcOf(request));
    if (position < 0) return;
    context.PlcTable[position].status = result;
    if (result != DRV_OK) context.activePlc = kNoActivePlc;
}

}  // namespace zelmpi

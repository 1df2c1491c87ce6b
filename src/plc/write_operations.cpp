// OP_WRITE_BLOCK and OP_WRITE_ONE.
#include "entry/handlers.h"
#include "plc/host_values.h"
#include "plc/station_manager.h"
#include "plc/transfer.h"
#include "plc/transfer_check.h"
#include "plc/typed_writes.h"
#include "zelmpi/results.h"

namespace zelmpi {

// One library write for the whole block, one more attempt at once when it fails, and the
// final result kept as the PLC's link state.
int WriteBlock(DriverRequest* request) {
    if (!AcceptTransfer(request)) return DRV_FAILED;
    const uint8_t station = EnsureStation(request);
    if (station != DRV_OK) return station;

    const TypedWrite write = WriteRoutineFor(TransferOf(request).tag.accessCode);
    int result = write(request);
    if (result != DRV_OK) result = write(request);
    RecordOutcome(request, static_cast<uint8_t>(result));
    return result;
}

namespace {

// The read-modify-write of a bit: the element's current PLC value, read into the second
// element of the host's array, with the one bit set or cleared.
int MergeBitIntoPlcValue(DriverRequest* request, uint16_t newValue) {
    TagTransfer& transfer = TransferOf(request);
    const auto mask = static_cast<uint16_t>(1u << transfer.tag.bitNumber);
    transfer.tag.bitNumber = kNoBit;  // read the whole element
    const int result = ReadOne(request);
    if (result != DRV_OK) return result;
    const uint16_t current = LoadHostElement<uint16_t>(transfer.values, 1);
    const bool set = (newValue & 1u) != 0;
    StoreHostElement<uint16_t>(
        transfer.values, 1,
        set ? static_cast<uint16_t>(current | mask) : static_cast<uint16_t>(current & ~mask));
    return DRV_OK;
}

}  // namespace

// One element: a 16-bit value comes from the second element of the host's array, a bit tag
// changes its one bit in the PLC's current value. The block goes back to the host as it came
// (bitNumber and values; elementCount is 1), and the host's new value stays in its place.
int WriteOne(DriverRequest* request) {
    if (request->params == nullptr) return WriteBlock(request);  // refused there
    TagTransfer& transfer = TransferOf(request);
    transfer.elementCount = 1;
    if (!AcceptTransfer(request) || !AcceptBitNumber(request)) return DRV_FAILED;

    void* const hostValues = transfer.values;
    const int32_t hostBit = transfer.tag.bitNumber;
    const bool sixteenBit = IsSixteenBitKind(transfer.tag.accessCode);
    const uint16_t newValue = sixteenBit ? LoadHostElement<uint16_t>(hostValues, 1) : 0;

    int result = DRV_OK;
    if (hostBit != kNoBit) result = MergeBitIntoPlcValue(request, newValue);
    if (result == DRV_OK) {
        if (sixteenBit) transfer.values = static_cast<uint8_t*>(hostValues) + sizeof(uint16_t);
        result = WriteBlock(request);
    }
    if (sixteenBit) StoreHostElement<uint16_t>(hostValues, 1, newValue);
    transfer.values = hostValues;
    transfer.tag.bitNumber = hostBit;
    return result;
}

}  // namespace zelmpi

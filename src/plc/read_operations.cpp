// OP_READ_BLOCK and OP_READ_ONE.
#include "entry/handlers.h"
#include "plc/host_values.h"
#include "plc/station_manager.h"
#include "plc/transfer.h"
#include "plc/transfer_check.h"
#include "plc/typed_reads.h"
#include "zelmpi/results.h"

namespace zelmpi {

// One library read for the whole block, one more attempt at once when it fails, and the final
// result kept as the PLC's link state.
int ReadBlock(DriverRequest* request) {
    if (!AcceptTransfer(request)) return DRV_FAILED;
    const uint8_t station = EnsureStation(request);
    if (station != DRV_OK) return station;

    const TypedRead read = ReadRoutineFor(TransferOf(request).tag.accessCode);
    int result = read(request);
    if (result != DRV_OK) result = read(request);
    RecordOutcome(request, static_cast<uint8_t>(result));
    return result;
}

// One element; a 16-bit value lands in the second element of the host's array, and a bit tag
// gets the bit alone (also after a failed read: the host looks at the result first).
int ReadOne(DriverRequest* request) {
    if (request->params == nullptr) return ReadBlock(request);  // refused there
    TagTransfer& transfer = TransferOf(request);
    transfer.elementCount = 1;
    if (!AcceptTransfer(request) || !AcceptBitNumber(request)) return DRV_FAILED;

    void* const hostValues = transfer.values;
    const bool sixteenBit = IsSixteenBitKind(transfer.tag.accessCode);
    if (sixteenBit) transfer.values = static_cast<uint8_t*>(hostValues) + sizeof(uint16_t);
    const int result = ReadBlock(request);
    const int32_t bit = transfer.tag.bitNumber;
    if (bit != kNoBit) {
        const uint16_t element = LoadHostElement<uint16_t>(transfer.values, 0);
        StoreHostElement<uint16_t>(transfer.values, 0, static_cast<uint16_t>((element >> bit) & 1));
    }
    transfer.values = hostValues;
    return result;
}

}  // namespace zelmpi

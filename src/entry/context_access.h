// Access to the instance state behind a request.
#pragma once

#include <atomic>

#include "zelmpi/driver_context.h"
#include "zelmpi/driver_request.h"

namespace zelmpi {

inline DriverContext& ContextOf(const DriverRequest* request) {
    return *static_cast<DriverContext*>(request->context);
}

// The worker thread sets the shutdown byte while request threads read it.
inline bool IsShutDown(DriverContext& context) {
    return std::atomic_ref<uint8_t>(context.shutdown).load(std::memory_order_acquire) != 0;
}

inline void SetShutdown(DriverContext& context, uint8_t value) {
    std::atomic_ref<uint8_t>(context.shutdown).store(value, std::memory_order_release);
}

// Clears the station part: every PlcTable entry {0, 2}, every slot 2, no active PLC, no
// shutdown. The COM port part and the two address options stay as they are.
void ResetStations(DriverContext& context);

}  // namespace zelmpi

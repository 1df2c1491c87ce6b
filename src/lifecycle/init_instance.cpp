#include <cstdint>

#include "entry/context_access.h"
#include "entry/handlers.h"
#include "lifecycle/build_stamp.h"
#include "lifecycle/burst_thread.h"
#include "lifecycle/config_file.h"
#include "platform/host_runtime.h"
#include "platform/kernel.h"
#include "zelmpi/results.h"

namespace zelmpi {
namespace {

constexpr int32_t kMinimumReadTimeout = 100;  // 10 ms units
constexpr uintptr_t kThreadStartFailed = static_cast<uintptr_t>(-1);

}  // namespace

// OP_INIT. A start value of 0 leaves the instance unstarted.
int InitInstance(DriverRequest* request) {
    DriverContext& context = ContextOf(request);
    const auto& settings = *static_cast<const InitSettings*>(request->params);
    err(kLogLevel, "RavUDE: Siemens S7 MPI driver, %s", kBuildStamp);

    context.portOpen = settings.startValue;
    if (settings.startValue == 0) return DRV_OK;
    context.readTimeout =
        settings.readTimeout < kMinimumReadTimeout ? kMinimumReadTimeout : settings.readTimeout;
    ResetStations(context);
    ReadConfigFile(context, request->instance);

    if (_beginthread(BurstThread, kBurstThreadStackSize, &context) == kThreadStartFailed) {
        err(kLogLevel, "RavUDE : Can Not open Burst thread !!!");
        return DRV_OFFLINE;
    }
    return DRV_OK;
}

}  // namespace zelmpi

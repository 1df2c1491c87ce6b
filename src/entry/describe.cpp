#include "entry/banner.h"
#include "entry/handlers.h"
#include "zelmpi/driver_context.h"
#include "zelmpi/results.h"

namespace zelmpi {

namespace {
constexpr int32_t kDriverCode = 82;
}  // namespace

// Needs no context: the host asks before it has allocated one. Bytes 20 to 27 stay the host's.
int Describe(DriverRequest* request) {
    auto* info = static_cast<DriverInfo*>(request->params);
    info->driverCode = kDriverCode;
    info->deviceName = kDeviceName;
    info->banner = kBanner;
    info->contextSize = static_cast<int32_t>(sizeof(DriverContext));
    info->value16 = 1;
    info->value28 = 3;
    return DRV_OK;
}

}  // namespace zelmpi

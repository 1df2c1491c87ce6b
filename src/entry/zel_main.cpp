#include "entry/handlers.h"
#include "zelmpi/zelmpi.h"

// The module's only export. A code without a handler calls nothing and fails.
#if defined(_WIN32)
#define ZELMPI_EXPORT  // exported by the module definition file, undecorated
#else
#define ZELMPI_EXPORT __attribute__((visibility("default")))
#endif

extern "C" ZELMPI_EXPORT int32_t ZELMPI_WINAPI ZelMain(zelmpi::DriverRequest* request) {
    const zelmpi::OperationHandler handler = zelmpi::FindHandler(request->operation);
    if (handler == nullptr) return zelmpi::DRV_FAILED;
    return handler(request);
}

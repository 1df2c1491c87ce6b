#include <cstring>

#include "entry/context_access.h"
#include "entry/handlers.h"
#include "serial/port_handle.h"
#include "serial/port_primitives.h"
#include "zelmpi/results.h"

namespace zelmpi {
namespace {

static_assert(sizeof(DriverContext::portName) == kPortNameSize);
static_assert(sizeof(PortSettings::portName) == kPortNameSize);

// A name must end within its 12 bytes; one that does not is no port name.
bool IsTerminated(const char (&name)[kPortNameSize]) {
    return std::memchr(name, '\0', kPortNameSize) != nullptr;
}

int CloseContextPort(DriverContext& context) {
    if (context.portHandle == 0) return DRV_OK;
    if (ClosePort(KernelHandle(context.portHandle)) != PORT_OK) return DRV_OFFLINE;
    context.portHandle = 0;
    return DRV_OK;
}

// Closes the port the context holds first, so that reopening leaks no handle and a new set-up
// of the same port takes effect (the exclusive open would otherwise refuse it).
int OpenContextPort(DriverContext& context) {
    CloseContextPort(context);
    HANDLE port = nullptr;
    if (OpenPort(context.portName, context.lineSettings, context.flowFlags, port) != PORT_OK) {
        return DRV_OFFLINE;
    }
    context.portHandle = StoredHandle(port);
    context.portOpen = 1;
    return DRV_OK;
}

}  // namespace

// OP_PORT_CLOSE
int ClosePortOperation(DriverRequest* request) {
    return CloseContextPort(ContextOf(request));
}

// OP_PORT_OPEN. The port keeps the read time-out of the open, not readTimeout.
int OpenPortOperation(DriverRequest* request) {
    DriverContext& context = ContextOf(request);
    if (!IsTerminated(context.portName)) return DRV_OFFLINE;
    return OpenContextPort(context);
}

// OP_PORT_CONFIG
int ConfigurePortOperation(DriverRequest* request) {
    DriverContext& context = ContextOf(request);
    const auto& settings = *static_cast<const PortSettings*>(request->params);
    if (!IsTerminated(settings.portName)) return DRV_OFFLINE;

    if (settings.readTimeout != 0) context.readTimeout = settings.readTimeout;
    std::memcpy(context.portName, settings.portName, kPortNameSize);
    if (settings.lineSettings.baudRate != 0) context.lineSettings = settings.lineSettings;
    if (OpenContextPort(context) != DRV_OK) return DRV_OFFLINE;
    SetReadTimeout(KernelHandle(context.portHandle), context.readTimeout);
    return DRV_OK;
}

}  // namespace zelmpi

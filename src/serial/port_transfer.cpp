#include "serial/port_handle.h"
#include "serial/port_primitives.h"

namespace zelmpi {

int SendBytes(DriverContext& context, const void* buffer, DWORD count) {
    const HANDLE port = KernelHandle(context.portHandle);
    DiscardInput(port);  // an answer must not be mixed with what came before
    DWORD written = 0;
    return WritePort(port, buffer, count, &written) == PORT_OK && written == count ? 1 : 0;
}

int ReceiveBytes(DriverContext& context, void* buffer, DWORD count) {
    DWORD received = 0;
    const int result = ReadPort(KernelHandle(context.portHandle), buffer, count, &received);
    return result == PORT_OK && received == count ? 1 : 0;
}

}  // namespace zelmpi

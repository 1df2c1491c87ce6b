#include "lifecycle/burst_thread.h"

#include "entry/context_access.h"
#include "platform/host_runtime.h"
#include "platform/kernel.h"
#include "platform/plc_library.h"

namespace zelmpi {
namespace {

constexpr char kClientName[] = "MPI";
constexpr int kClientMode = 1;
constexpr int kWaitForever = -1;
constexpr unsigned int kUnloadDelayMs = 1500;  // lets requests under way finish first
constexpr int kMessageSize = 24;

}  // namespace

void BurstThread(void* arg) {
    DriverContext& context = *static_cast<DriverContext*>(arg);
    int clientId = 0;
    HuxMkClient(kClientName, kClientMode, 0, &clientId);
    const auto client = static_cast<unsigned char>(clientId & 0xFF);

    unsigned char message[kMessageSize];
    // Only the low 16 bits of the answer count; zero announces the host's shutdown.
    while ((HuxWaitMsg(client, message, kWaitForever) & 0xFFFF) != 0) {
    }

    SetShutdown(context, 1);
    err(kLogLevel, "RavUDE : ShutDown !!!");
    Sleep(kUnloadDelayMs);
    const int unloaded = unload_tool();
    err(kLogLevel, "RavUDE: unload_tool() success %d", unloaded);
    HuxRmClient(client);
    _endthread();
}

}  // namespace zelmpi

// The COM port operations of zelmpi.dll on the real kernel32 calls, the module loaded as the
// host loads it: the null device opens and closes, a port that does not exist is offline.
// Exit status 0 when every case passes; each failure is printed.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "zelmpi/driver_context.h"
#include "zelmpi/driver_request.h"
#include "zelmpi/results.h"
#include "zelmpi/zelmpi.h"

namespace {

int failures = 0;

void Expect(bool holds, const char* what) {
    if (holds) return;
    std::printf("FAILED: %s\n", what);
    ++failures;
}

}  // namespace

int main() {
    HMODULE module = LoadLibraryA("zelmpi.dll");
    if (module == nullptr) {
        std::printf("FAILED: cannot load zelmpi.dll (error %lu)\n", GetLastError());
        return 1;
    }
    auto* zelMain = reinterpret_cast<ZelMainFunction>(
        reinterpret_cast<void*>(GetProcAddress(module, "ZelMain")));
    if (zelMain == nullptr) {
        std::printf("FAILED: zelmpi.dll has no ZelMain\n");
        return 1;
    }

    zelmpi::DriverInfo info{};
    zelmpi::DriverRequest describe{nullptr, zelmpi::OP_DESCRIBE, 1, 0, &info};
    zelMain(&describe);
    Expect(info.contextSize >= static_cast<int32_t>(sizeof(zelmpi::DriverContext)),
           "OP_DESCRIBE reports a context that holds the DriverContext");
    // The host allocates the context, zero-filled, of the size the module asks for.
    const auto contextStorage =
        std::make_unique<uint64_t[]>((static_cast<size_t>(info.contextSize) + 7) / 8 + 1);
    auto* context = reinterpret_cast<zelmpi::DriverContext*>(contextStorage.get());
    zelmpi::DriverRequest open{context, zelmpi::OP_PORT_OPEN, 1, 0, nullptr};
    zelmpi::DriverRequest close{context, zelmpi::OP_PORT_CLOSE, 1, 0, nullptr};

    std::strcpy(context->portName, "NUL");
    Expect(zelMain(&open) == zelmpi::DRV_OK, "OP_PORT_OPEN of NUL is DRV_OK");
    Expect(context->portHandle != 0, "the open NUL port's handle is kept in the context");
    Expect(zelMain(&close) == zelmpi::DRV_OK, "OP_PORT_CLOSE of NUL is DRV_OK");
    Expect(context->portHandle == 0, "the closed port's handle is gone from the context");

    std::strcpy(context->portName, "ZELNOPORT9");
    Expect(zelMain(&open) == zelmpi::DRV_OFFLINE,
           "OP_PORT_OPEN of a port that does not exist is DRV_OFFLINE");
    Expect(context->portHandle == 0, "a failed open keeps no handle");

    std::printf("%s\n",
                failures == 0 ? "module port test: all passed" : "module port test: FAILED");
    return failures == 0 ? 0 : 1;
}

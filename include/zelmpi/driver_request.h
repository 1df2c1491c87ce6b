// The block the host passes to ZelMain, and the description block of OP_DESCRIBE.
#pragma once

#include <cstddef>
#include <cstdint>

#include "zelmpi/driver_context.h"
#include "zelmpi/platform_abi.h"

namespace zelmpi {

struct DriverRequest {
    void* context;      // the instance's DriverContext, allocated by the host
    int32_t operation;  // 1..15
    int32_t instance;   // selects the configuration file; read by OP_INIT only
    uint32_t reserved;  // never read
    void* params;       // the operation's parameter block
};

struct DriverInfo {
    int32_t driverCode;
    const char* deviceName;
    const char* banner;
    int32_t contextSize;
    int32_t value16;        // always 1; its meaning belongs to the host
    uint8_t untouched[8];   // left as the host put it
    int32_t value28;        // always 3; its meaning belongs to the host
};

// Parameter block of OP_INIT: the driver reads two fields and ignores the rest.
struct InitSettings {
    uint8_t reserved[12];
    int32_t startValue;   // copied to portOpen; 0 leaves the instance unstarted
    int32_t readTimeout;  // COM port read time-out in 10 ms units
};

// Parameter block of OP_PORT_CONFIG.
struct PortSettings {
    char portName[12];
    int32_t readTimeout;  // 0 keeps the context's value
    LineSettings lineSettings;  // a baud rate of 0 keeps all four
};

#if ZELMPI_TARGET_IS_32BIT
static_assert(offsetof(DriverRequest, context) == 0);
static_assert(offsetof(DriverRequest, operation) == 4);
static_assert(offsetof(DriverRequest, instance) == 8);
static_assert(offsetof(DriverRequest, params) == 16);
static_assert(sizeof(DriverRequest) == 20);
static_assert(offsetof(DriverInfo, driverCode) == 0);
static_assert(offsetof(DriverInfo, deviceName) == 4);
static_assert(offsetof(DriverInfo, banner) == 8);
static_assert(offsetof(DriverInfo, contextSize) == 12);
static_assert(offsetof(DriverInfo, value16) == 16);
static_assert(offsetof(DriverInfo, untouched) == 20);
static_assert(offsetof(DriverInfo, value28) == 28);
static_assert(sizeof(DriverInfo) == 32);
#endif
static_assert(offsetof(InitSettings, startValue) == 12);
static_assert(offsetof(InitSettings, readTimeout) == 16);
static_assert(offsetof(PortSettings, readTimeout) == 12);
static_assert(offsetof(PortSettings, lineSettings) == 16);
static_assert(sizeof(PortSettings) == 24);

}  // namespace zelmpi

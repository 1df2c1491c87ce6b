// The whole state of one driver instance. The host allocates it with the size OP_DESCRIBE
// reports and passes it with every request.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zelmpi {

inline constexpr int kPlcNumbers = 99;  // SlotTable covers PLC numbers 0..98
inline constexpr int kPlcEntries = 99;
inline constexpr uint8_t kDefaultSlot = 2;

struct PlcEntry {
    uint8_t plc;
    uint8_t status;  // DRV_OK, DRV_FAILED or DRV_OFFLINE of the last attempt
};

// Baud rate, data bits, stop-bits code and parity code, as the platform codes them.
struct LineSettings {
    uint16_t baudRate;
    uint16_t dataBits;
    uint16_t stopBitsCode;
    uint16_t parityCode;
};

struct DriverContext {
    // COM port part
    int32_t readTimeout;  // 10 ms units
    uint32_t portHandle;  // 0 = no port open; kernel handles fit in 32 bits
    int32_t portOpen;
    char portName[12];
    LineSettings lineSettings;
    uint16_t flowFlags;
    // PLC station part
    uint8_t activePlc;
    uint8_t plcCount;
    uint8_t SlotTable[kPlcNumbers];
    PlcEntry PlcTable[kPlcEntries];
    uint8_t shutdown;  // written once by the worker thread; access it through the helpers
    uint8_t floatOddAddress;
    uint8_t longDb;
};

static_assert(offsetof(DriverContext, readTimeout) == 0);
static_assert(offsetof(DriverContext, portHandle) == 4);
static_assert(offsetof(DriverContext, portOpen) == 8);
static_assert(offsetof(DriverContext, portName) == 12);
static_assert(offsetof(DriverContext, lineSettings) == 24);
static_assert(sizeof(LineSettings) == 8);
static_assert(offsetof(DriverContext, flowFlags) == 32);
static_assert(offsetof(DriverContext, activePlc) == 34);
static_assert(offsetof(DriverContext, plcCount) == 35);
static_assert(offsetof(DriverContext, SlotTable) == 36);
static_assert(offsetof(DriverContext, PlcTable) == 135);
static_assert(offsetof(DriverContext, shutdown) == 333);
static_assert(offsetof(DriverContext, floatOddAddress) == 334);
static_assert(offsetof(DriverContext, longDb) == 335);
static_assert(sizeof(DriverContext) == 336);

}  // namespace zelmpi

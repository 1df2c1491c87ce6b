// Operation codes and results shared with the host.
#pragma once

#include <cstdint>

namespace zelmpi {

enum OperationCode : int32_t {
    OP_INIT = 1,
    OP_NOP_2 = 2,
    OP_PARSE = 3,
    OP_CHECK_SIZE = 4,
    OP_READ_ONE = 5,
    OP_READ_BLOCK = 6,
    OP_WRITE_ONE = 7,
    OP_WRITE_BLOCK = 10,
    OP_NOP_11 = 11,
    OP_PORT_CLOSE = 12,
    OP_PORT_OPEN = 13,
    OP_DESCRIBE = 14,
    OP_PORT_CONFIG = 15,
};

// The highest code the operation table covers; codes 8 and 9 have no handler.
inline constexpr int32_t kLastOperationCode = 15;

enum DriverResult : int32_t {
    DRV_OK = 0,
    DRV_FAILED = 1,
    DRV_OFFLINE = 2,
};

}  // namespace zelmpi

#include "entry/handlers.h"
#include "zelmpi/results.h"

namespace zelmpi {
namespace {

// Entry k serves code k; entry 0 and the entries of codes 8 and 9 are empty.
constexpr OperationHandler kOperationTable[kLastOperationCode + 1] = {
    nullptr,                 // 0
    InitInstance,            // OP_INIT
    DoNothing,               // OP_NOP_2
    ParseAddress,            // OP_PARSE
    CheckBlockSize,          // OP_CHECK_SIZE
    ReadOne,                 // OP_READ_ONE
    ReadBlock,               // OP_READ_BLOCK
    WriteOne,                // OP_WRITE_ONE
    nullptr,                 // 8
    nullptr,                 // 9
    WriteBlock,              // OP_WRITE_BLOCK
    DoNothing,               // OP_NOP_11
    ClosePortOperation,      // OP_PORT_CLOSE
    OpenPortOperation,       // OP_PORT_OPEN
    Describe,                // OP_DESCRIBE
    ConfigurePortOperation,  // OP_PORT_CONFIG
};

}  // namespace

OperationHandler FindHandler(int32_t operation) {
    if (operation < 0 || operation > kLastOperationCode) return nullptr;
    return kOperationTable[operation];
}

int DoNothing(DriverRequest*) { return DRV_OK; }

}  // namespace zelmpi

// One handler per operation code. Each takes the host's request and returns a DriverResult.
#pragma once

#include "zelmpi/driver_request.h"

namespace zelmpi {

using OperationHandler = int (*)(DriverRequest* request);

int InitInstance(DriverRequest* request);     // OP_INIT, lifecycle/
int DoNothing(DriverRequest* request);        // OP_NOP_2, OP_NOP_11
int ParseAddress(DriverRequest* request);     // OP_PARSE, addressing/
int CheckBlockSize(DriverRequest* request);   // OP_CHECK_SIZE, addressing/
int ReadOne(DriverRequest* request);          // OP_READ_ONE, plc/
int ReadBlock(DriverRequest* request);        // OP_READ_BLOCK, plc/
int WriteOne(DriverRequest* request);         // OP_WRITE_ONE, plc/
int WriteBlock(DriverRequest* request);       // OP_WRITE_BLOCK, plc/
int ClosePortOperation(DriverRequest* request);      // OP_PORT_CLOSE, serial/
int OpenPortOperation(DriverRequest* request);       // OP_PORT_OPEN, serial/
int Describe(DriverRequest* request);         // OP_DESCRIBE, entry/
int ConfigurePortOperation(DriverRequest* request);  // OP_PORT_CONFIG, serial/

// The handler for an operation code, or nullptr where the table has none.
OperationHandler FindHandler(int32_t operation);

}  // namespace zelmpi

// One write routine per kind of tag: the PLC bytes of the whole block built in a local
// transfer buffer, then one library call. Each returns 0, or 1 after one log line, whatever
// the library's code was.
#pragma once

#include <cstdint>

#include "zelmpi/driver_request.h"

namespace zelmpi {

using TypedWrite = int (*)(DriverRequest* request);

// The routine for an access code; nullptr for a code no tag has.
TypedWrite WriteRoutineFor(int32_t accessCode);

}  // namespace zelmpi

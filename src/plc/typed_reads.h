// One read routine per kind of tag: one library call for the whole block into a local
// transfer buffer, then the conversion into the host's value array. Each returns 0, or after
// one log line 2 when the station cannot be reached (0x4002, 0xFF10) and 1 otherwise.
#pragma once

#include <cstdint>

#include "zelmpi/driver_request.h"

namespace zelmpi {

using TypedRead = int (*)(DriverRequest* request);

// The routine for an access code; nullptr for a code no tag has.
TypedRead ReadRoutineFor(int32_t accessCode);

}  // namespace zelmpi

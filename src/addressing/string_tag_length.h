#pragma once

#include "zelmpi/driver_request.h"

namespace zelmpi {

// The string length that a string tag's address declares (positions 11-12, or 12-13 with long
// data block numbers). The request's parameter block must begin with the address pointer.
int StringTagLength(const DriverRequest* request);

// The same, on the address text itself.
int DeclaredStringLength(const char* addressText, bool longDb);

}  // namespace zelmpi

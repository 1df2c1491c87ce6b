// Everything a host needs to drive the module: the records, the codes and the entry point.
#pragma once

#include "zelmpi/driver_context.h"
#include "zelmpi/driver_request.h"
#include "zelmpi/results.h"
#include "zelmpi/tag_address.h"

extern "C" {
// The module's one export.
int32_t ZELMPI_WINAPI ZelMain(zelmpi::DriverRequest* request);
// The signature a host looks ZelMain up with.
typedef int32_t(ZELMPI_WINAPI* ZelMainFunction)(zelmpi::DriverRequest* request);
}

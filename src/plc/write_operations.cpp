#include "entry/handlers.h"
#include "zelmpi/results.h"

namespace zelmpi {

int WriteOne(DriverRequest*) { return DRV_FAILED; }  // placeholder until this area is built
int WriteBlock(DriverRequest*) { return DRV_FAILED; }  // placeholder until this area is built

}  // namespace zelmpi

#include "entry/handlers.h"
#include "zelmpi/results.h"

namespace zelmpi {

int ClosePortOperation(DriverRequest*) { return DRV_FAILED; }  // placeholder until this area is built
int OpenPortOperation(DriverRequest*) { return DRV_FAILED; }  // placeholder until this area is built
int ConfigurePortOperation(DriverRequest*) { return DRV_FAILED; }  // placeholder until this area is built

}  // namespace zelmpi

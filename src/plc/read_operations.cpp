#include "entry/handlers.h"
#include "zelmpi/results.h"

namespace zelmpi {

int ReadOne(DriverRequest*) { return DRV_FAILED; }  // placeholder until this area is built
int ReadBlock(DriverRequest*) { return DRV_FAILED; }  // placeholder until this area is built

}  // namespace zelmpi

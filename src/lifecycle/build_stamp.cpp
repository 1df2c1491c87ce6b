#include "lifecycle/build_stamp.h"

namespace zelmpi {

const char kBuildStamp[] = "compiled on " __DATE__ " at " __TIME__;

}  // namespace zelmpi

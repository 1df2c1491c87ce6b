#pragma once

namespace zelmpi {

// When this module was built: "compiled on May  3 2005 at 11:07:17".
extern const char kBuildStamp[];

}  // namespace zelmpi

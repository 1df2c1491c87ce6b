// Fake kernel services: Sleep records the wait instead of waiting; threads and COM port calls
// are recorded.
#pragma once

namespace fakes {

void ResetKernel();

}  // namespace fakes

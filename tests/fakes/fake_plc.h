// Fake PLC library: records every call with its arguments; results can be scripted.
#pragma once

namespace fakes {

void ResetPlc();

}  // namespace fakes

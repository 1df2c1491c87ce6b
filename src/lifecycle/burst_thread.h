// The worker thread of a started instance: waits for the host's shutdown message, then marks
// the instance shut down and unloads the PLC link.
#pragma once

namespace zelmpi {

// Stack the thread is started with.
inline constexpr unsigned int kBurstThreadStackSize = 32768;

// arg is the instance's DriverContext. Ends the thread through the C runtime; returns only
// where that call returns.
void BurstThread(void* arg);

}  // namespace zelmpi

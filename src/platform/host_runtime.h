// The host runtime library (HUXPRO): the log and the message clients. Defined by the host,
// never by the module.
#pragma once

extern "C" {
#if defined(__GNUC__)
__attribute__((format(printf, 2, 3)))
#endif
int err(int level, const char* format, ...);
int HuxMkClient(const char* name, int mode, int flags, int* clientId);
int HuxWaitMsg(unsigned char clientId, void* message, int timeout);
int HuxRmClient(unsigned char clientId);
}

namespace zelmpi {
// Every line the driver logs carries this level.
inline constexpr int kLogLevel = 32;
}  // namespace zelmpi

// What the stand-in PLC library exports: the driver's imports and the host program's calls.
#pragma once

#if defined(_WIN32)
#define PLC_EXPORT __declspec(dllexport)
#else
#define PLC_EXPORT __attribute__((visibility("default")))
#endif

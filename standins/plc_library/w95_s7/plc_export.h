// What the stand-in PLC library exports: the driver's imports and the host program's calls.
#pragma once

#if defined(_WIN32)
// Exported through the library's module definition file: the vendor's calls by ordinal only.
#define PLC_EXPORT
#else
#define PLC_EXPORT __attribute__((visibility("default")))
#endif

// Which device a Windows port name opens on POSIX.
#pragma once

#include <cstddef>

namespace zelkernel {

enum class DeviceKind { Missing, Null, Path };

// "NUL" (any case) is the null device /dev/null. "COM<n>" (any case, optionally written
// "\\.\COM<n>", n from 1 to 255) is the path in the environment variable ZELKERNEL_COM<n> when
// that is set and not empty, else /dev/ttyS<n-1>. A name that starts with "/" is a path
// already (a pseudo-terminal such as /dev/pts/3). Every other name names no device.
DeviceKind DevicePathFor(const char* name, char* path, size_t size);

}  // namespace zelkernel

#include "com_names.h"

#include <strings.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace zelkernel {
namespace {

constexpr char kDevicePrefix[] = "\\\\.\\";
constexpr int kLastComPort = 255;

// The n of "COM<n>", or 0 when the name is not a COM port name.
int ComPortNumber(const char* name) {
    if (strncasecmp(name, "COM", 3) != 0) return 0;
    const char* digits = name + 3;
    if (*digits < '1' || *digits > '9') return 0;
    int number = 0;
    for (const char* c = digits; *c != '\0'; ++c) {
        if (*c < '0' || *c > '9') return 0;
        number = number * 10 + (*c - '0');
        if (number > kLastComPort) return 0;
    }
    return number;
}

DeviceKind CopyPath(const char* source, char* path, size_t size) {
    const int length = std::snprintf(path, size, "%s", source);
    return length >= 0 && static_cast<size_t>(length) < size ? DeviceKind::Path
                                                             : DeviceKind::Missing;
}

}  // namespace

DeviceKind DevicePathFor(const char* name, char* path, size_t size) {
    if (name == nullptr || size == 0) return DeviceKind::Missing;
    if (name[0] == '/') return CopyPath(name, path, size);
    if (std::strncmp(name, kDevicePrefix, sizeof kDevicePrefix - 1) == 0) {
        name += sizeof kDevicePrefix - 1;
    }
    if (strcasecmp(name, "NUL") == 0) {
        CopyPath("/dev/null", path, size);
        return DeviceKind::Null;
    }
    const int number = ComPortNumber(name);
    if (number == 0) return DeviceKind::Missing;
    char variable[32];
    std::snprintf(variable, sizeof variable, "ZELKERNEL_COM%d", number);
    const char* mapped = std::getenv(variable);
    if (mapped != nullptr && mapped[0] != '\0') return CopyPath(mapped, path, size);
    const int length = std::snprintf(path, size, "/dev/ttyS%d", number - 1);
    return length >= 0 && static_cast<size_t>(length) < size ? DeviceKind::Path
                                                             : DeviceKind::Missing;
}

}  // namespace zelkernel

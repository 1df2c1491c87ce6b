// The PLC's REAL is an IEEE 754 single, most significant byte first.
#include <cstdint>
#include <cstring>

#include "platform/plc_library.h"

#if defined(_WIN32)
// Exported through the library's module definition file: the vendor's calls by ordinal only.
#define PLC_EXPORT
#else
#define PLC_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {

PLC_EXPORT int ZELMPI_PLC_CALL plc_real_to_float(const void* plcBytes, float* value) {
    const auto* bytes = static_cast<const uint8_t*>(plcBytes);
    const uint32_t bits = uint32_t{bytes[0]} << 24 | uint32_t{bytes[1]} << 16 |
                          uint32_t{bytes[2]} << 8 | uint32_t{bytes[3]};
    std::memcpy(value, &bits, sizeof bits);
    return 0;
}

PLC_EXPORT int ZELMPI_PLC_CALL float_to_plc_real(const float* value, void* plcBytes) {
    uint32_t bits = 0;
    std::memcpy(&bits, value, sizeof bits);
    auto* bytes = static_cast<uint8_t*>(plcBytes);
    bytes[0] = static_cast<uint8_t>(bits >> 24);
    bytes[1] = static_cast<uint8_t>(bits >> 16);
    bytes[2] = static_cast<uint8_t>(bits >> 8);
    bytes[3] = static_cast<uint8_t>(bits);
    return 0;
}

}  // extern "C"

// Elements of the host's value array. The host lays them out little-endian; the array may sit
// at any address (the single-value operations move it by two bytes), so elements are copied,
// never dereferenced in place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zelmpi {

template <typename Element>
Element LoadHostElement(const void* values, int index) {
    Element element;
    std::memcpy(&element,
                static_cast<const uint8_t*>(values) + sizeof(Element) * static_cast<size_t>(index),
                sizeof element);
    return element;
}

template <typename Element>
void StoreHostElement(void* values, int index, Element element) {
    std::memcpy(static_cast<uint8_t*>(values) + sizeof(Element) * static_cast<size_t>(index),
                &element, sizeof element);
}

// PLC memory is most significant byte first; values are built and split byte by byte, with
// no sign extension.
inline uint16_t PlcWordAt(const uint8_t* bytes) {
    return static_cast<uint16_t>(bytes[0] << 8 | bytes[1]);
}

inline uint32_t PlcDwordAt(const uint8_t* bytes) {
    return uint32_t{bytes[0]} << 24 | uint32_t{bytes[1]} << 16 | uint32_t{bytes[2]} << 8 |
           uint32_t{bytes[3]};
}

inline void PutPlcWord(uint8_t* bytes, uint16_t value) {
    bytes[0] = static_cast<uint8_t>(value >> 8);
    bytes[1] = static_cast<uint8_t>(value);
}

inline void PutPlcDword(uint8_t* bytes, uint32_t value) {
    bytes[0] = static_cast<uint8_t>(value >> 24);
    bytes[1] = static_cast<uint8_t>(value >> 16);
    bytes[2] = static_cast<uint8_t>(value >> 8);
    bytes[3] = static_cast<uint8_t>(value);
}

}  // namespace zelmpi

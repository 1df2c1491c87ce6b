// The context keeps the open port's kernel handle as a 32-bit value.
#pragma once

#include <cstdint>

#include "platform/kernel.h"

namespace zelmpi {

inline HANDLE KernelHandle(uint32_t stored) {
    return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(stored));
}

// Windows guarantees that kernel handles fit in 32 bits; a handle that does not could not be
// kept in the context, and 0 there means "no port".
inline bool FitsPortHandle(HANDLE handle) {
    const auto value = reinterpret_cast<uintptr_t>(handle);
    if constexpr (sizeof(uintptr_t) > sizeof(uint32_t)) {
        if (value > UINT32_MAX) return false;
    }
    return value != 0;
}

inline uint32_t StoredHandle(HANDLE handle) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(handle));
}

}  // namespace zelmpi

#include <algorithm>
#include <cstdint>

#include "serial/port_primitives.h"

namespace zelmpi {
namespace {

constexpr int32_t kDiscardReadTimeout = 5;  // 10 ms units
constexpr DWORD kDiscardChunk = 512;
constexpr DWORD kLargestRead = 0xFFFF;  // reads are asked for in 16-bit amounts
constexpr int64_t kLargestTimeoutMs = UINT32_MAX;

// 10 ms units to the kernel's milliseconds, kept within what a DWORD holds.
DWORD TimeoutMs(int32_t timeout) {
    return static_cast<DWORD>(std::clamp<int64_t>(int64_t{timeout} * 10, 0, kLargestTimeoutMs));
}

}  // namespace

int32_t SetReadTimeout(HANDLE port, int32_t timeout) {
    COMMTIMEOUTS timeouts{};
    if (!GetCommTimeouts(port, &timeouts)) return 0;
    const DWORD previous = timeouts.ReadTotalTimeoutConstant;
    const DWORD wanted = TimeoutMs(timeout);
    if (previous == wanted) return static_cast<int32_t>(previous / 10);
    timeouts.ReadTotalTimeoutConstant = wanted;
    if (!SetCommTimeouts(port, &timeouts)) return 0;
    return static_cast<int32_t>(previous / 10);
}

int DiscardInput(HANDLE port) {
    DWORD errors = 0;
    COMSTAT status{};
    if (ClearCommError(port, &errors, &status) == 1 && status.cbInQue == 0) return PORT_OK;

    const int32_t previous = SetReadTimeout(port, kDiscardReadTimeout);
    unsigned char scratch[kDiscardChunk];
    bool readFailed = false;
    for (;;) {
        DWORD received = 0;
        if (!ReadFile(port, scratch, kDiscardChunk, &received, nullptr)) {
            readFailed = true;
            break;
        }
        if (received < kDiscardChunk) break;
    }
    if (previous != 0) SetReadTimeout(port, previous);
    return readFailed ? PORT_OPEN_FAILED : PORT_OK;
}

int WritePort(HANDLE port, const void* buffer, DWORD count, DWORD* written) {
    DWORD sent = 0;
    if (!WriteFile(port, buffer, count, &sent, nullptr)) return PORT_IO_FAILED;
    if (written != nullptr) *written = sent;
    return sent == count ? PORT_OK : PORT_SHORT_WRITE;
}

int ReadPort(HANDLE port, void* buffer, DWORD count, DWORD* received) {
    if (received != nullptr) *received = 0;
    auto* bytes = static_cast<unsigned char*>(buffer);
    DWORD total = 0;
    while (total < count) {
        const DWORD missing = std::min(count - total, kLargestRead);
        DWORD got = 0;
        if (!ReadFile(port, bytes + total, missing, &got, nullptr)) return PORT_IO_FAILED;
        if (got == 0) return PORT_IO_FAILED;  // the read time-out passed
        total += std::min(got, missing);
        if (received != nullptr) *received = total;
    }
    return PORT_OK;
}

int SendBreak(unsigned int milliseconds, HANDLE port) {
    SetCommBreak(port);
    Sleep(milliseconds);
    ClearCommBreak(port);
    return PORT_OK;
}

int Pause(unsigned int milliseconds) {
    Sleep(milliseconds);
    return PORT_OK;
}

}  // namespace zelmpi

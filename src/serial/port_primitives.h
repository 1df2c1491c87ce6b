// The COM port primitives beneath the port operations, on the kernel's communications calls.
#pragma once

#include <cstdint>

#include "platform/kernel.h"
#include "zelmpi/driver_context.h"

namespace zelmpi {

// Result codes of the primitives.
enum PortResult : int {
    PORT_OK = 0,
    PORT_OPEN_FAILED = 1,  // also: setting the time-outs, or the last read while discarding
    PORT_SHORT_WRITE = 2,
    PORT_STATE_READ_FAILED = 4,
    PORT_STATE_SET_FAILED = 5,
    PORT_IO_FAILED = 7,  // a read, write or close failed, or a read timed out with no byte
};

inline constexpr unsigned int kPortNameSize = 12;  // with its terminating zero

// Opens the port exclusively and sets its line up; "NUL" gets no set-up. On PORT_OK, port holds
// a handle that fits the context's 32-bit field; on failure nothing stays open.
int OpenPort(const char* name, const LineSettings& line, uint16_t flowFlags, HANDLE& port);
int ClosePort(HANDLE port);  // PORT_OK or PORT_IO_FAILED
// Sets the read time-out (10 ms units); returns the previous one, or 0 on failure.
int32_t SetReadTimeout(HANDLE port, int32_t timeout);
int DiscardInput(HANDLE port);  // PORT_OK or PORT_OPEN_FAILED
int WritePort(HANDLE port, const void* buffer, DWORD count, DWORD* written);
int ReadPort(HANDLE port, void* buffer, DWORD count, DWORD* received);
int SendBreak(unsigned int milliseconds, HANDLE port);
int Pause(unsigned int milliseconds);

// On the context's port; 1 when every byte went or came, else 0.
int SendBytes(DriverContext& context, const void* buffer, DWORD count);
int ReceiveBytes(DriverContext& context, void* buffer, DWORD count);

}  // namespace zelmpi

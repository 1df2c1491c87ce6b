#include <cstring>

#include "serial/port_handle.h"
#include "serial/port_primitives.h"

namespace zelmpi {
namespace {

constexpr DWORD kOpenReadTimeoutMs = 1000;
constexpr DWORD kQueueSize = 1200;
constexpr char kErrorChar = static_cast<char>(252);

constexpr uint16_t kDtrEnableFlags = 0x0001 | 0x0100;
constexpr uint16_t kDtrHandshakeFlag = 0x8000;
constexpr uint16_t kRtsEnableFlags = 0x0002 | 0x0200;
constexpr uint16_t kRtsHandshakeFlag = 0x1000;
constexpr uint16_t kRtsToggleFlag = 0x2000;

void SetDtrControl(DCB& dcb, uint16_t flowFlags) {
    if ((flowFlags & kDtrEnableFlags) != 0) {
        dcb.fDtrControl = DTR_CONTROL_ENABLE;
    } else if ((flowFlags & kDtrHandshakeFlag) != 0) {
        dcb.fDtrControl = DTR_CONTROL_HANDSHAKE;
    } else {
        dcb.fDtrControl = DTR_CONTROL_DISABLE;
    }
}

void SetRtsControl(DCB& dcb, uint16_t flowFlags) {
    if ((flowFlags & kRtsEnableFlags) != 0) {
        dcb.fRtsControl = RTS_CONTROL_ENABLE;
    } else if ((flowFlags & kRtsHandshakeFlag) != 0) {
        dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
    } else if ((flowFlags & kRtsToggleFlag) != 0) {
        dcb.fRtsControl = RTS_CONTROL_TOGGLE;
    } else {
        dcb.fRtsControl = RTS_CONTROL_DISABLE;
    }
}

// Every field not named here keeps the value the port had.
void ApplyLine(DCB& dcb, const LineSettings& line, uint16_t flowFlags) {
    dcb.BaudRate = line.baudRate;
    dcb.ByteSize = static_cast<BYTE>(line.dataBits & 0xFF);
    dcb.Parity = static_cast<BYTE>(line.parityCode & 0xFF);
    dcb.StopBits = static_cast<BYTE>(line.stopBitsCode & 0xFF);
    dcb.fBinary = 1;
    dcb.fParity = 1;
    dcb.fOutxCtsFlow = 0;
    dcb.fOutxDsrFlow = 0;
    SetDtrControl(dcb, flowFlags);
    dcb.fDsrSensitivity = 0;
    dcb.fOutX = 0;
    dcb.fInX = 0;
    dcb.fErrorChar = 0;
    dcb.fNull = 0;
    SetRtsControl(dcb, flowFlags);
    dcb.fAbortOnError = 0;
    dcb.ErrorChar = kErrorChar;
}

int CloseAndFail(HANDLE port, int result) {
    CloseHandle(port);
    return result;
}

}  // namespace

int OpenPort(const char* name, const LineSettings& line, uint16_t flowFlags, HANDLE& port) {
    HANDLE opened = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE || opened == nullptr) return PORT_OPEN_FAILED;
    if (!FitsPortHandle(opened)) return CloseAndFail(opened, PORT_OPEN_FAILED);
    if (std::strcmp(name, "NUL") == 0) {  // the null device needs no line set-up
        port = opened;
        return PORT_OK;
    }

    DCB dcb{};
    dcb.DCBlength = sizeof(DCB);
    if (!GetCommState(opened, &dcb)) return CloseAndFail(opened, PORT_STATE_READ_FAILED);
    COMMTIMEOUTS timeouts{0, 0, kOpenReadTimeoutMs, 0, 0};
    if (!SetCommTimeouts(opened, &timeouts)) return CloseAndFail(opened, PORT_OPEN_FAILED);
    ApplyLine(dcb, line, flowFlags);
    if (!SetCommState(opened, &dcb)) return CloseAndFail(opened, PORT_STATE_SET_FAILED);
    SetupComm(opened, kQueueSize, kQueueSize);
    port = opened;
    return PORT_OK;
}

int ClosePort(HANDLE port) {
    return CloseHandle(port) ? PORT_OK : PORT_IO_FAILED;
}

}  // namespace zelmpi

// Kernel services: Sleep, the C runtime's thread start and end, and the COM port calls.
// On Windows they come from kernel32 and the C runtime; elsewhere from the POSIX stand-in,
// which declares the Windows types with their field order and widths.
#pragma once

#include <cstdint>

#if defined(_WIN32)
// The lean set: the full windows.h brings mmsystem.h, whose DRV_OK macro would clash with ours.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <process.h>
#include <windows.h>
#else

extern "C" {
typedef void* HANDLE;
typedef uint32_t DWORD;
typedef int BOOL;
typedef uint16_t WORD;
typedef uint8_t BYTE;

struct DCB {
    DWORD DCBlength;
    DWORD BaudRate;
    DWORD fBinary : 1;
    DWORD fParity : 1;
    DWORD fOutxCtsFlow : 1;
    DWORD fOutxDsrFlow : 1;
    DWORD fDtrControl : 2;
    DWORD fDsrSensitivity : 1;
    DWORD fTXContinueOnXoff : 1;
    DWORD fOutX : 1;
    DWORD fInX : 1;
    DWORD fErrorChar : 1;
    DWORD fNull : 1;
    DWORD fRtsControl : 2;
    DWORD fAbortOnError : 1;
    DWORD fDummy2 : 17;
    WORD wReserved;
    WORD XonLim;
    WORD XoffLim;
    BYTE ByteSize;
    BYTE Parity;
    BYTE StopBits;
    char XonChar;
    char XoffChar;
    char ErrorChar;
    char EofChar;
    char EvtChar;
    WORD wReserved1;
};

struct COMMTIMEOUTS {
    DWORD ReadIntervalTimeout;
    DWORD ReadTotalTimeoutMultiplier;
    DWORD ReadTotalTimeoutConstant;
    DWORD WriteTotalTimeoutMultiplier;
    DWORD WriteTotalTimeoutConstant;
};

struct COMSTAT {
    DWORD flags;  // fCtsHold .. fTxim bits, unused by the driver
    DWORD cbInQue;
    DWORD cbOutQue;
};

#define INVALID_HANDLE_VALUE (reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1)))
#define GENERIC_READ 0x80000000u
#define GENERIC_WRITE 0x40000000u
#define OPEN_EXISTING 3u
#define FILE_ATTRIBUTE_NORMAL 0x80u
#define DTR_CONTROL_DISABLE 0x00u
#define DTR_CONTROL_ENABLE 0x01u
#define DTR_CONTROL_HANDSHAKE 0x02u
#define RTS_CONTROL_DISABLE 0x00u
#define RTS_CONTROL_ENABLE 0x01u
#define RTS_CONTROL_HANDSHAKE 0x02u
#define RTS_CONTROL_TOGGLE 0x03u
#define NOPARITY 0
#define ODDPARITY 1
#define EVENPARITY 2
#define MARKPARITY 3
#define SPACEPARITY 4
#define ONESTOPBIT 0
#define ONE5STOPBITS 1
#define TWOSTOPBITS 2

void Sleep(unsigned int milliseconds);
uintptr_t _beginthread(void (*start)(void*), unsigned int stackSize, void* arg);
void _endthread(void);

HANDLE CreateFileA(const char* fileName, DWORD desiredAccess, DWORD shareMode,
                   void* securityAttributes, DWORD creationDisposition, DWORD flagsAndAttributes,
                   HANDLE templateFile);
BOOL CloseHandle(HANDLE handle);
BOOL GetCommState(HANDLE handle, DCB* dcb);
BOOL SetCommState(HANDLE handle, DCB* dcb);
BOOL GetCommTimeouts(HANDLE handle, COMMTIMEOUTS* timeouts);
BOOL SetCommTimeouts(HANDLE handle, COMMTIMEOUTS* timeouts);
BOOL SetupComm(HANDLE handle, DWORD inQueue, DWORD outQueue);
BOOL ClearCommError(HANDLE handle, DWORD* errors, COMSTAT* status);
BOOL ReadFile(HANDLE handle, void* buffer, DWORD toRead, DWORD* read, void* overlapped);
BOOL WriteFile(HANDLE handle, const void* buffer, DWORD toWrite, DWORD* written,
               void* overlapped);
BOOL SetCommBreak(HANDLE handle);
BOOL ClearCommBreak(HANDLE handle);
}

static_assert(sizeof(DCB) == 28);
static_assert(sizeof(COMMTIMEOUTS) == 20);
static_assert(sizeof(COMSTAT) == 12);

#endif

// COM port calls: placeholder until the termios implementation lands.
#include "platform/kernel.h"

#define KERNEL_EXPORT __attribute__((visibility("default")))

extern "C" {
KERNEL_EXPORT HANDLE CreateFileA(const char*, DWORD, DWORD, void*, DWORD, DWORD, HANDLE) {
    return INVALID_HANDLE_VALUE;
}
KERNEL_EXPORT BOOL CloseHandle(HANDLE) { return 0; }
KERNEL_EXPORT BOOL GetCommState(HANDLE, DCB*) { return 0; }
KERNEL_EXPORT BOOL SetCommState(HANDLE, DCB*) { return 0; }
KERNEL_EXPORT BOOL GetCommTimeouts(HANDLE, COMMTIMEOUTS*) { return 0; }
KERNEL_EXPORT BOOL SetCommTimeouts(HANDLE, COMMTIMEOUTS*) { return 0; }
KERNEL_EXPORT BOOL SetupComm(HANDLE, DWORD, DWORD) { return 0; }
KERNEL_EXPORT BOOL ClearCommError(HANDLE, DWORD*, COMSTAT*) { return 0; }
KERNEL_EXPORT BOOL ReadFile(HANDLE, void*, DWORD, DWORD*, void*) { return 0; }
KERNEL_EXPORT BOOL WriteFile(HANDLE, const void*, DWORD, DWORD*, void*) { return 0; }
KERNEL_EXPORT BOOL SetCommBreak(HANDLE) { return 0; }
KERNEL_EXPORT BOOL ClearCommBreak(HANDLE) { return 0; }
}

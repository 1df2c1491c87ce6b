// Placeholder fake until the lifecycle and serial tests land.
#include "fakes/fake_kernel.h"

#include <string>

#include "fakes/call_log.h"
#include "platform/kernel.h"

namespace fakes {
void ResetKernel() {}
}  // namespace fakes

extern "C" {
void Sleep(unsigned int milliseconds) { fakes::Record("Sleep(" + std::to_string(milliseconds) + ")"); }
uintptr_t _beginthread(void (*)(void*), unsigned int, void*) {
    fakes::Record("_beginthread");
    return static_cast<uintptr_t>(-1);
}
void _endthread(void) { fakes::Record("_endthread"); }
HANDLE CreateFileA(const char*, DWORD, DWORD, void*, DWORD, DWORD, HANDLE) {
    return INVALID_HANDLE_VALUE;
}
BOOL CloseHandle(HANDLE) { return 0; }
BOOL GetCommState(HANDLE, DCB*) { return 0; }
BOOL SetCommState(HANDLE, DCB*) { return 0; }
BOOL GetCommTimeouts(HANDLE, COMMTIMEOUTS*) { return 0; }
BOOL SetCommTimeouts(HANDLE, COMMTIMEOUTS*) { return 0; }
BOOL SetupComm(HANDLE, DWORD, DWORD) { return 0; }
BOOL ClearCommError(HANDLE, DWORD*, COMSTAT*) { return 0; }
BOOL ReadFile(HANDLE, void*, DWORD, DWORD*, void*) { return 0; }
BOOL WriteFile(HANDLE, const void*, DWORD, DWORD*, void*) { return 0; }
BOOL SetCommBreak(HANDLE) { return 0; }
BOOL ClearCommBreak(HANDLE) { return 0; }
}

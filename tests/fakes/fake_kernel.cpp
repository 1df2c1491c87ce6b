#include "fakes/fake_kernel.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <thread>

#include "fakes/call_log.h"

namespace fakes {
namespace {

constexpr uintptr_t kFirstHandle = 0x100;

DCB DefaultDcb() {
    DCB dcb{};
    dcb.DCBlength = sizeof(DCB);
    dcb.BaudRate = 1200;
    dcb.fBinary = 1;
    dcb.fTXContinueOnXoff = 1;
    dcb.fDummy2 = 0x1ABCD;
    dcb.XonLim = 2048;
    dcb.XoffLim = 512;
    dcb.ByteSize = 7;
    dcb.Parity = ODDPARITY;
    dcb.StopBits = TWOSTOPBITS;
    dcb.XonChar = 0x11;
    dcb.XoffChar = 0x13;
    dcb.ErrorChar = 0x21;
    dcb.EofChar = 0x1A;
    dcb.EvtChar = 0x0D;
    return dcb;
}

struct KernelState {
    std::mutex mutex;
    ThreadStart threadStart = ThreadStart::Record;
    std::vector<std::thread> threads;
    std::deque<HANDLE> createResults;
    uintptr_t nextHandle = kFirstHandle;
    std::map<std::string, std::deque<BOOL>> results;
    DCB dcb = DefaultDcb();
    DCB lastSetDcb{};
    COMMTIMEOUTS timeouts{};
    std::string input;
    std::deque<uint32_t> readChunks;
    std::optional<uint32_t> writeLimit;
    std::string written;
};

KernelState& Kernel() {
    static KernelState state;
    return state;
}

std::string HandleText(HANDLE handle) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%jx",
                  static_cast<uintmax_t>(reinterpret_cast<uintptr_t>(handle)));
    return text;
}

// The scripted result of this call, or success. Records the call first.
BOOL Answer(const std::string& call, const std::string& record) {
    Record(record);
    KernelState& kernel = Kernel();
    std::lock_guard lock(kernel.mutex);
    auto found = kernel.results.find(call);
    if (found == kernel.results.end() || found->second.empty()) return 1;
    const BOOL result = found->second.front();
    found->second.pop_front();
    return result;
}

}  // namespace

void ResetKernel() {
    JoinThreads();
    KernelState& kernel = Kernel();
    std::lock_guard lock(kernel.mutex);
    kernel.threadStart = ThreadStart::Record;
    kernel.createResults.clear();
    kernel.nextHandle = kFirstHandle;
    kernel.results.clear();
    kernel.dcb = DefaultDcb();
    kernel.lastSetDcb = DCB{};
    kernel.timeouts = COMMTIMEOUTS{};
    kernel.input.clear();
    kernel.readChunks.clear();
    kernel.writeLimit.reset();
    kernel.written.clear();
}

void SetThreadStart(ThreadStart mode) {
    std::lock_guard lock(Kernel().mutex);
    Kernel().threadStart = mode;
}

void JoinThreads() {
    std::vector<std::thread> threads;
    {
        std::lock_guard lock(Kernel().mutex);
        threads.swap(Kernel().threads);
    }
    for (std::thread& thread : threads) thread.join();
}

void ScriptCreateFile(HANDLE result) {
    std::lock_guard lock(Kernel().mutex);
    Kernel().createResults.push_back(result);
}

void ScriptResult(const std::string& call, BOOL result, int times) {
    std::lock_guard lock(Kernel().mutex);
    for (int i = 0; i < times; ++i) Kernel().results[call].push_back(result);
}

void SetPortDcb(const DCB& dcb) {
    std::lock_guard lock(Kernel().mutex);
    Kernel().dcb = dcb;
}

DCB PortDcb() {
    std::lock_guard lock(Kernel().mutex);
    return Kernel().dcb;
}

DCB LastSetDcb() {
    std::lock_guard lock(Kernel().mutex);
    return Kernel().lastSetDcb;
}

COMMTIMEOUTS PortTimeouts() {
    std::lock_guard lock(Kernel().mutex);
    return Kernel().timeouts;
}

void SetPortTimeouts(const COMMTIMEOUTS& timeouts) {
    std::lock_guard lock(Kernel().mutex);
    Kernel().timeouts = timeouts;
}

void QueueInput(const std::string& bytes) {
    std::lock_guard lock(Kernel().mutex);
    Kernel().input += bytes;
}

size_t PendingInput() {
    std::lock_guard lock(Kernel().mutex);
    return Kernel().input.size();
}

void ScriptReadChunks(std::vector<uint32_t> chunks) {
    std::lock_guard lock(Kernel().mutex);
    Kernel().readChunks.assign(chunks.begin(), chunks.end());
}

void LimitNextWrite(uint32_t count) {
    std::lock_guard lock(Kernel().mutex);
    Kernel().writeLimit = count;
}

std::string WrittenBytes() {
    std::lock_guard lock(Kernel().mutex);
    return Kernel().written;
}

}  // namespace fakes

using fakes::Answer;
using fakes::HandleText;
using fakes::Kernel;
using fakes::KernelState;

// On Windows, windows.h and process.h declare these calls as imports of kernel32 and the C
// runtime. The driver code of the unit tests is built to call them as ZelFake<call>
// (cmake/WindowsModule.cmake); the fakes take those names and fill their import slots below.
#if defined(_WIN32)
#define FAKE_KERNEL32(call) WINAPI ZelFake##call
#define FAKE_CRT(call) ZelFake##call
#else
#define FAKE_KERNEL32(call) call
#define FAKE_CRT(call) call
#endif

extern "C" {

void FAKE_KERNEL32(Sleep)(unsigned int milliseconds) {
    fakes::Record("Sleep(" + std::to_string(milliseconds) + ")");
}

uintptr_t FAKE_CRT(_beginthread)(void (*start)(void*), unsigned int stackSize, void* arg) {
    fakes::Record("_beginthread(" + std::to_string(stackSize) + ")");
    KernelState& kernel = Kernel();
    std::lock_guard lock(kernel.mutex);
    switch (kernel.threadStart) {
        case fakes::ThreadStart::Fail:
            return static_cast<uintptr_t>(-1);
        case fakes::ThreadStart::Run:
            kernel.threads.emplace_back(start, arg);
            return kernel.threads.size();
        case fakes::ThreadStart::Record:
            break;
    }
    return 1;
}

void FAKE_CRT(_endthread)(void) {
    fakes::Record("_endthread");
#if defined(_WIN32)
    // process.h declares _endthread as not returning, so the caller's code ends at the call:
    // end the thread here (the worker runs on a thread of ThreadStart::Run).
    _endthread();
#endif
}

HANDLE FAKE_KERNEL32(CreateFileA)(const char* fileName, DWORD desiredAccess, DWORD shareMode,
                                  void* securityAttributes, DWORD creationDisposition,
                                  DWORD flagsAndAttributes, HANDLE templateFile) {
    char text[256];
    std::snprintf(text, sizeof text, "CreateFileA(%s, 0x%X, %u, %s, %u, 0x%X, %s)", fileName,
                  static_cast<unsigned>(desiredAccess), static_cast<unsigned>(shareMode),
                  securityAttributes == nullptr ? "null" : "attributes",
                  static_cast<unsigned>(creationDisposition),
                  static_cast<unsigned>(flagsAndAttributes),
                  templateFile == nullptr ? "null" : "template");
    fakes::Record(text);
    KernelState& kernel = Kernel();
    std::lock_guard lock(kernel.mutex);
    if (!kernel.createResults.empty()) {
        HANDLE result = kernel.createResults.front();
        kernel.createResults.pop_front();
        return result;
    }
    return reinterpret_cast<HANDLE>(kernel.nextHandle++);
}

BOOL FAKE_KERNEL32(CloseHandle)(HANDLE handle) {
    return Answer("CloseHandle", "CloseHandle(" + HandleText(handle) + ")");
}

BOOL FAKE_KERNEL32(GetCommState)(HANDLE handle, DCB* dcb) {
    const BOOL result = Answer("GetCommState", "GetCommState(" + HandleText(handle) + ", " +
                                                   std::to_string(dcb->DCBlength) + ")");
    if (result == 0) return 0;
    std::lock_guard lock(Kernel().mutex);
    *dcb = Kernel().dcb;
    return result;
}

BOOL FAKE_KERNEL32(SetCommState)(HANDLE handle, DCB* dcb) {
    const BOOL result = Answer("SetCommState", "SetCommState(" + HandleText(handle) + ")");
    std::lock_guard lock(Kernel().mutex);
    Kernel().lastSetDcb = *dcb;
    if (result != 0) Kernel().dcb = *dcb;
    return result;
}

BOOL FAKE_KERNEL32(GetCommTimeouts)(HANDLE handle, COMMTIMEOUTS* timeouts) {
    const BOOL result = Answer("GetCommTimeouts", "GetCommTimeouts(" + HandleText(handle) + ")");
    if (result == 0) return 0;
    std::lock_guard lock(Kernel().mutex);
    *timeouts = Kernel().timeouts;
    return result;
}

BOOL FAKE_KERNEL32(SetCommTimeouts)(HANDLE handle, COMMTIMEOUTS* timeouts) {
    char text[160];
    std::snprintf(text, sizeof text, "SetCommTimeouts(%s, %u, %u, %u, %u, %u)",
                  HandleText(handle).c_str(), static_cast<unsigned>(timeouts->ReadIntervalTimeout),
                  static_cast<unsigned>(timeouts->ReadTotalTimeoutMultiplier),
                  static_cast<unsigned>(timeouts->ReadTotalTimeoutConstant),
                  static_cast<unsigned>(timeouts->WriteTotalTimeoutMultiplier),
                  static_cast<unsigned>(timeouts->WriteTotalTimeoutConstant));
    const BOOL result = Answer("SetCommTimeouts", text);
    if (result == 0) return 0;
    std::lock_guard lock(Kernel().mutex);
    Kernel().timeouts = *timeouts;
    return result;
}

BOOL FAKE_KERNEL32(SetupComm)(HANDLE handle, DWORD inQueue, DWORD outQueue) {
    return Answer("SetupComm", "SetupComm(" + HandleText(handle) + ", " + std::to_string(inQueue) +
                                   ", " + std::to_string(outQueue) + ")");
}

BOOL FAKE_KERNEL32(ClearCommError)(HANDLE handle, DWORD* errors, COMSTAT* status) {
    const BOOL result = Answer("ClearCommError", "ClearCommError(" + HandleText(handle) + ")");
    std::lock_guard lock(Kernel().mutex);
    if (errors != nullptr) *errors = 0;
    if (status != nullptr) {
        *status = COMSTAT{};
        status->cbInQue = static_cast<DWORD>(Kernel().input.size());
    }
    return result;
}

BOOL FAKE_KERNEL32(ReadFile)(HANDLE handle, void* buffer, DWORD toRead, DWORD* read,
                             void* overlapped) {
    (void)overlapped;
    const BOOL result =
        Answer("ReadFile", "ReadFile(" + HandleText(handle) + ", " + std::to_string(toRead) + ")");
    if (read != nullptr) *read = 0;
    if (result == 0) return 0;
    KernelState& kernel = Kernel();
    std::lock_guard lock(kernel.mutex);
    size_t amount = std::min<size_t>(toRead, kernel.input.size());
    if (!kernel.readChunks.empty()) {
        amount = std::min<size_t>(amount, kernel.readChunks.front());
        kernel.readChunks.pop_front();
    }
    std::memcpy(buffer, kernel.input.data(), amount);
    kernel.input.erase(0, amount);
    if (read != nullptr) *read = static_cast<DWORD>(amount);
    return result;
}

BOOL FAKE_KERNEL32(WriteFile)(HANDLE handle, const void* buffer, DWORD toWrite, DWORD* written,
                              void* overlapped) {
    (void)overlapped;
    const BOOL result = Answer(
        "WriteFile", "WriteFile(" + HandleText(handle) + ", " + std::to_string(toWrite) + ")");
    if (written != nullptr) *written = 0;
    if (result == 0) return 0;
    KernelState& kernel = Kernel();
    std::lock_guard lock(kernel.mutex);
    DWORD amount = toWrite;
    if (kernel.writeLimit) amount = std::min<DWORD>(amount, *kernel.writeLimit);
    kernel.writeLimit.reset();
    kernel.written.append(static_cast<const char*>(buffer), amount);
    if (written != nullptr) *written = amount;
    return result;
}

BOOL FAKE_KERNEL32(SetCommBreak)(HANDLE handle) {
    return Answer("SetCommBreak", "SetCommBreak(" + HandleText(handle) + ")");
}

BOOL FAKE_KERNEL32(ClearCommBreak)(HANDLE handle) {
    return Answer("ClearCommBreak", "ClearCommBreak(" + HandleText(handle) + ")");
}

#if defined(_WIN32)
// The import slots the driver code calls through.
#define FAKE_IMPORT_SLOT(call, symbol) \
    void* zelFakeSlot##call __asm__(symbol) = reinterpret_cast<void*>(&ZelFake##call)
FAKE_IMPORT_SLOT(Sleep, "__imp__ZelFakeSleep@4");
FAKE_IMPORT_SLOT(_beginthread, "__imp__ZelFake_beginthread");
FAKE_IMPORT_SLOT(_endthread, "__imp__ZelFake_endthread");
FAKE_IMPORT_SLOT(CreateFileA, "__imp__ZelFakeCreateFileA@28");
FAKE_IMPORT_SLOT(CloseHandle, "__imp__ZelFakeCloseHandle@4");
FAKE_IMPORT_SLOT(GetCommState, "__imp__ZelFakeGetCommState@8");
FAKE_IMPORT_SLOT(SetCommState, "__imp__ZelFakeSetCommState@8");
FAKE_IMPORT_SLOT(GetCommTimeouts, "__imp__ZelFakeGetCommTimeouts@8");
FAKE_IMPORT_SLOT(SetCommTimeouts, "__imp__ZelFakeSetCommTimeouts@8");
FAKE_IMPORT_SLOT(SetupComm, "__imp__ZelFakeSetupComm@12");
FAKE_IMPORT_SLOT(ClearCommError, "__imp__ZelFakeClearCommError@12");
FAKE_IMPORT_SLOT(ReadFile, "__imp__ZelFakeReadFile@20");
FAKE_IMPORT_SLOT(WriteFile, "__imp__ZelFakeWriteFile@20");
FAKE_IMPORT_SLOT(SetCommBreak, "__imp__ZelFakeSetCommBreak@4");
FAKE_IMPORT_SLOT(ClearCommBreak, "__imp__ZelFakeClearCommBreak@4");
#endif

}  // extern "C"

// Fake kernel services. Sleep records "Sleep(<ms>)" and never waits. _beginthread records the
// stack size and, as told, fails, only records, or runs the thread function on a real thread.
// The COM port calls record their arguments, answer scripted results and keep one fake port:
// its DCB and time-outs, an input queue, the bytes written.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/kernel.h"

namespace fakes {

// Joins the threads started in ThreadStart::Run mode, then restores every default.
void ResetKernel();

enum class ThreadStart {
    Record,  // succeeds without running anything (the default)
    Fail,    // answers (uintptr_t)-1
    Run,     // runs the function on a real thread; JoinThreads waits for it
};
void SetThreadStart(ThreadStart mode);
// Waits for every thread started in Run mode (the test must have let them end).
void JoinThreads();

// The handle the next CreateFileA answers (once); INVALID_HANDLE_VALUE makes it fail. Without a
// script every open succeeds with a new handle from 0x100 on.
void ScriptCreateFile(HANDLE result);
// The next `times` calls of `call` (e.g. "GetCommState") return `result` instead of success.
void ScriptResult(const std::string& call, BOOL result, int times = 1);

// The DCB that GetCommState answers; SetCommState stores into the same port state.
void SetPortDcb(const DCB& dcb);
DCB PortDcb();
// The last DCB and time-outs passed to SetCommState and SetCommTimeouts.
DCB LastSetDcb();
COMMTIMEOUTS PortTimeouts();
void SetPortTimeouts(const COMMTIMEOUTS& timeouts);

// Bytes waiting in the port's input queue (ClearCommError's cbInQue).
void QueueInput(const std::string& bytes);
size_t PendingInput();
// Each ReadFile delivers at most the next of these amounts (0: a read that times out); when
// none are left a read delivers what is queued, up to the amount asked.
void ScriptReadChunks(std::vector<uint32_t> chunks);
// The next WriteFile writes at most this many bytes.
void LimitNextWrite(uint32_t count);
std::string WrittenBytes();

}  // namespace fakes

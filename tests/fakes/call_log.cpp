#include "fakes/call_log.h"

#include <mutex>

#include "fakes/fake_host.h"
#include "fakes/fake_kernel.h"
#include "fakes/fake_plc.h"

namespace fakes {
namespace {

std::mutex& CallMutex() {
    static std::mutex mutex;
    return mutex;
}

std::vector<std::string>& CallRecord() {
    static std::vector<std::string> calls;
    return calls;
}

constexpr char kLogPrefix[] = "err: ";

}  // namespace

void Record(std::string call) {
    std::lock_guard lock(CallMutex());
    CallRecord().push_back(std::move(call));
}

std::vector<std::string> Calls() {
    std::lock_guard lock(CallMutex());
    return CallRecord();
}

void ClearCalls() {
    std::lock_guard lock(CallMutex());
    CallRecord().clear();
}

std::vector<std::string> CallsStartingWith(const std::string& prefix) {
    std::vector<std::string> matching;
    for (const std::string& call : Calls()) {
        if (call.rfind(prefix, 0) == 0) matching.push_back(call);
    }
    return matching;
}

std::vector<std::string> LogLines() {
    std::vector<std::string> lines;
    for (const std::string& call : CallsStartingWith(kLogPrefix)) {
        lines.push_back(call.substr(sizeof kLogPrefix - 1));
    }
    return lines;
}

void ResetAllFakes() {
    ClearCalls();
    ResetHost();
    ResetPlc();
    ResetKernel();
}

}  // namespace fakes

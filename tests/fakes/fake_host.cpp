#include "fakes/fake_host.h"

#include <chrono>
#include <condition_variable>
#include <cstdarg>
#include <cstdio>
#include <deque>
#include <mutex>
#include <string>

#include "fakes/call_log.h"
#include "platform/host_runtime.h"

namespace fakes {
namespace {

struct HostState {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<int> waitResults;
    int clientId = 7;
    int waiting = 0;
};

HostState& Host() {
    static HostState state;
    return state;
}

}  // namespace

void ResetHost() {
    HostState& host = Host();
    std::lock_guard lock(host.mutex);
    host.waitResults.clear();
    host.clientId = 7;
}

void ScriptWaitResults(std::vector<int> results) {
    HostState& host = Host();
    {
        std::lock_guard lock(host.mutex);
        host.waitResults.insert(host.waitResults.end(), results.begin(), results.end());
    }
    host.changed.notify_all();
}

bool WaitUntilClientWaits() {
    HostState& host = Host();
    std::unique_lock lock(host.mutex);
    return host.changed.wait_for(lock, std::chrono::seconds(10),
                                 [&] { return host.waiting > 0 && host.waitResults.empty(); });
}

void SetClientId(int id) {
    HostState& host = Host();
    std::lock_guard lock(host.mutex);
    host.clientId = id;
}

}  // namespace fakes

extern "C" {

int err(int level, const char* format, ...) {
    char text[2048];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    std::string line = "err: ";
    if (level != zelmpi::kLogLevel) line += "level " + std::to_string(level) + ": ";
    fakes::Record(line + text);
    return 0;
}

int HuxMkClient(const char* name, int mode, int flags, int* clientId) {
    fakes::HostState& host = fakes::Host();
    int id = 0;
    {
        std::lock_guard lock(host.mutex);
        id = host.clientId;
    }
    fakes::Record("HuxMkClient(" + std::string(name) + ", " + std::to_string(mode) + ", " +
                  std::to_string(flags) + ")");
    *clientId = id;
    return 0;
}

int HuxWaitMsg(unsigned char clientId, void* message, int timeout) {
    (void)message;
    fakes::Record("HuxWaitMsg(" + std::to_string(clientId) + ", " + std::to_string(timeout) + ")");
    fakes::HostState& host = fakes::Host();
    std::unique_lock lock(host.mutex);
    ++host.waiting;
    host.changed.notify_all();
    host.changed.wait(lock, [&] { return !host.waitResults.empty(); });
    --host.waiting;
    const int result = host.waitResults.front();
    host.waitResults.pop_front();
    return result;
}

int HuxRmClient(unsigned char clientId) {
    fakes::Record("HuxRmClient(" + std::to_string(clientId) + ")");
    return 0;
}

}  // extern "C"

// The stand-in host runtime: a log and message clients that wait for the host's shutdown.
#include <chrono>
#include <condition_variable>
#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <mutex>

#include "hux_standin.h"

#if defined(_WIN32)
#define HUX_EXPORT __declspec(dllexport)
#else
#define HUX_EXPORT __attribute__((visibility("default")))
#endif

namespace {

struct HostRuntime {
    std::mutex mutex;
    std::condition_variable shutdownAnnounced;
    bool shuttingDown = false;
    int nextClientId = 1;
    int clientsAlive = 0;
    int clientsCreated = 0;
    FILE* log = nullptr;  // nullptr: standard error
    bool ownsLog = false;
    bool timestamps = false;
};

// Never destroyed: a worker thread may still wait on it while the host program exits.
HostRuntime& Runtime() {
    static HostRuntime* const runtime = new HostRuntime;
    return *runtime;
}

void CloseOwnedLog(HostRuntime& runtime) {
    if (runtime.ownsLog && runtime.log != nullptr) std::fclose(runtime.log);
    runtime.log = nullptr;
    runtime.ownsLog = false;
}

int FormatTimeOfDay(char* out, size_t size) {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    const auto millis = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    return std::snprintf(out, size, "%02d:%02d:%02d.%03d ", local.tm_hour, local.tm_min,
                         local.tm_sec, static_cast<int>(millis));
}

}  // namespace

extern "C" {

#if defined(__GNUC__)
HUX_EXPORT int err(int level, const char* format, ...) __attribute__((format(printf, 2, 3)));
#endif

HUX_EXPORT int err(int level, const char* format, ...) {
    (void)level;
    char line[1024];
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    HostRuntime& runtime = Runtime();
    std::lock_guard lock(runtime.mutex);
    FILE* out = runtime.log != nullptr ? runtime.log : stderr;
    if (runtime.timestamps) {
        char stamp[32];
        FormatTimeOfDay(stamp, sizeof stamp);
        std::fputs(stamp, out);
    }
    std::fputs(line, out);
    if (length >= static_cast<int>(sizeof line)) std::fputs("...", out);  // said, not hidden
    std::fputc('\n', out);
    std::fflush(out);
    return length;
}

HUX_EXPORT int HuxMkClient(const char* name, int mode, int flags, int* clientId) {
    (void)name;
    (void)mode;
    (void)flags;
    HostRuntime& runtime = Runtime();
    std::lock_guard lock(runtime.mutex);
    const int id = runtime.nextClientId;
    runtime.nextClientId = runtime.nextClientId % 255 + 1;  // ids travel as one byte
    ++runtime.clientsAlive;
    ++runtime.clientsCreated;
    if (clientId != nullptr) *clientId = id;
    return 0;
}

// Blocks until the host program announces shutdown, then answers 0.
HUX_EXPORT int HuxWaitMsg(unsigned char clientId, void* message, int timeout) {
    (void)clientId;
    (void)message;
    (void)timeout;
    HostRuntime& runtime = Runtime();
    std::unique_lock lock(runtime.mutex);
    runtime.shutdownAnnounced.wait(lock, [&] { return runtime.shuttingDown; });
    return 0;
}

HUX_EXPORT int HuxRmClient(unsigned char clientId) {
    (void)clientId;
    HostRuntime& runtime = Runtime();
    std::lock_guard lock(runtime.mutex);
    if (runtime.clientsAlive > 0) --runtime.clientsAlive;
    return 0;
}

HUX_EXPORT int HuxStandinSetLogFile(const char* path) {
    HostRuntime& runtime = Runtime();
    std::lock_guard lock(runtime.mutex);
    if (path == nullptr) {
        CloseOwnedLog(runtime);
        return 0;
    }
    FILE* file = std::fopen(path, "a");
    if (file == nullptr) return -1;
    CloseOwnedLog(runtime);
    runtime.log = file;
    runtime.ownsLog = true;
    return 0;
}

HUX_EXPORT void HuxStandinSetLogStream(FILE* stream) {
    HostRuntime& runtime = Runtime();
    std::lock_guard lock(runtime.mutex);
    CloseOwnedLog(runtime);
    runtime.log = stream;
}

HUX_EXPORT void HuxStandinSetLogTimestamps(int on) {
    HostRuntime& runtime = Runtime();
    std::lock_guard lock(runtime.mutex);
    runtime.timestamps = on != 0;
}

HUX_EXPORT void HuxStandinAnnounceShutdown(void) {
    HostRuntime& runtime = Runtime();
    {
        std::lock_guard lock(runtime.mutex);
        runtime.shuttingDown = true;
    }
    runtime.shutdownAnnounced.notify_all();
}

HUX_EXPORT int HuxStandinClientCount(void) {
    HostRuntime& runtime = Runtime();
    std::lock_guard lock(runtime.mutex);
    return runtime.clientsAlive;
}

HUX_EXPORT int HuxStandinClientsCreated(void) {
    HostRuntime& runtime = Runtime();
    std::lock_guard lock(runtime.mutex);
    return runtime.clientsCreated;
}

HUX_EXPORT void HuxStandinReset(void) {
    HostRuntime& runtime = Runtime();
    std::lock_guard lock(runtime.mutex);
    runtime.shuttingDown = false;
    runtime.clientsAlive = 0;
    runtime.clientsCreated = 0;
}

}  // extern "C"

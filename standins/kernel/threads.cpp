// Sleep and the C runtime's thread start and end, on POSIX threads.
#include <pthread.h>
#include <time.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <new>

#include "platform/kernel.h"

#define KERNEL_EXPORT __attribute__((visibility("default")))

namespace {

constexpr size_t kWindowsStackReserve = size_t{1} << 20;

struct ThreadStart {
    void (*start)(void*);
    void* arg;
};

void* RunThread(void* raw) {
    ThreadStart launch = *static_cast<ThreadStart*>(raw);
    delete static_cast<ThreadStart*>(raw);
    launch.start(launch.arg);
    return nullptr;
}

}  // namespace

extern "C" {

KERNEL_EXPORT void Sleep(unsigned int milliseconds) {
    timespec remaining{static_cast<time_t>(milliseconds / 1000u),
                       static_cast<long>(milliseconds % 1000u) * 1000000L};
    while (nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
    }
}

// Starts a detached thread; (uintptr_t)-1 when it cannot be started, as the C runtime does.
KERNEL_EXPORT uintptr_t _beginthread(void (*start)(void*), unsigned int stackSize, void* arg) {
    auto* launch = new (std::nothrow) ThreadStart{start, arg};
    if (launch == nullptr) return static_cast<uintptr_t>(-1);
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
    if (stackSize != 0) {
        // Windows takes the size as the stack's first commit and still reserves the
        // executable's default (1 MB) for it to grow into; a POSIX stack cannot grow, so it
        // gets the reserve at once, and never less than the POSIX minimum.
        const size_t minimum =
            std::max(kWindowsStackReserve, static_cast<size_t>(PTHREAD_STACK_MIN));
        const size_t size = stackSize < minimum ? minimum : stackSize;
        pthread_attr_setstacksize(&attributes, size);
    }
    pthread_t thread;
    const int failed = pthread_create(&thread, &attributes, RunThread, launch);
    pthread_attr_destroy(&attributes);
    if (failed != 0) {
        delete launch;
        return static_cast<uintptr_t>(-1);
    }
    return static_cast<uintptr_t>(thread);
}

KERNEL_EXPORT void _endthread(void) {
    pthread_exit(nullptr);
}

}  // extern "C"

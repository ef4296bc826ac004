#include "RealtimeCounters.h"

#if defined(VARNEX_SANITIZED)

bool realtimeCountersActive() {
    return false;
}
long allocationsOnThisThread() {
    return 0;
}
long locksOnThisThread() {
    return 0;
}

#else

#include <dlfcn.h>
#include <pthread.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

thread_local long allocations = 0;
thread_local long locks = 0;

using LockFunction = int (*)(pthread_mutex_t*);

// The C library's own definition, looked up on first use without a static
// guard (whose implementation might lock).
LockFunction nextDefinition(std::atomic<LockFunction>& slot, const char* name) {
    LockFunction function = slot.load(std::memory_order_relaxed);
    if (!function) {
        function = reinterpret_cast<LockFunction>(dlsym(RTLD_NEXT, name));
        slot.store(function, std::memory_order_relaxed);
    }
    return function;
}

std::atomic<LockFunction> nextLock{nullptr};
std::atomic<LockFunction> nextTryLock{nullptr};

} // namespace

bool realtimeCountersActive() {
    return true;
}

long allocationsOnThisThread() {
    return allocations;
}

long locksOnThisThread() {
    return locks;
}

void* operator new(std::size_t size) {
    ++allocations;
    if (void* memory = std::malloc(size ? size : 1))
        return memory;
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}

extern "C" int pthread_mutex_lock(pthread_mutex_t* mutex) {
    ++locks;
    return nextDefinition(nextLock, "pthread_mutex_lock")(mutex);
}

extern "C" int pthread_mutex_trylock(pthread_mutex_t* mutex) {
    ++locks;
    return nextDefinition(nextTryLock, "pthread_mutex_trylock")(mutex);
}

#endif

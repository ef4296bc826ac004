#include "cli/validate/RealtimeProbe.h"

// The program defines the C library's allocation and mutex entry points
// itself; the dynamic loader then binds every library's calls, a loaded
// plug-in's included, to these (the program exports them). Each one counts
// when the calling thread is being watched and passes on to the C
// library's own implementation.

#include <cerrno>
#include <cstddef>
#include <dlfcn.h>
#include <pthread.h>

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* memory, std::size_t size);
void __libc_free(void* memory);
void* __libc_memalign(std::size_t alignment, std::size_t size);
}

namespace {

thread_local bool watched = false;
thread_local long allocations = 0;
thread_local long locks = 0;

using MutexFunction = int (*)(pthread_mutex_t*);
MutexFunction realLock = nullptr;
MutexFunction realTryLock = nullptr;

inline void countAllocation() {
    if (watched)
        ++allocations;
}

MutexFunction resolve(MutexFunction& slot, const char* name) {
    if (!slot)
        slot = reinterpret_cast<MutexFunction>(dlsym(RTLD_NEXT, name));
    return slot;
}

} // namespace

bool realtimeCallsCounted() {
    return true;
}

void beginRealtimeCount() {
    allocations = 0;
    locks = 0;
    watched = true;
}

RealtimeCounts endRealtimeCount() {
    watched = false;
    return {allocations, locks};
}

extern "C" {

void* malloc(std::size_t size) noexcept {
    countAllocation();
    return __libc_malloc(size);
}

void* calloc(std::size_t count, std::size_t size) noexcept {
    countAllocation();
    return __libc_calloc(count, size);
}

void* realloc(void* memory, std::size_t size) noexcept {
    countAllocation();
    return __libc_realloc(memory, size);
}

void free(void* memory) noexcept {
    if (memory)
        countAllocation();
    __libc_free(memory);
}

void* aligned_alloc(std::size_t alignment, std::size_t size) noexcept {
    countAllocation();
    return __libc_memalign(alignment, size);
}

void* memalign(std::size_t alignment, std::size_t size) noexcept {
    countAllocation();
    return __libc_memalign(alignment, size);
}

int posix_memalign(void** out, std::size_t alignment, std::size_t size) noexcept {
    countAllocation();
    if (alignment % sizeof(void*) != 0 || (alignment & (alignment - 1)) != 0)
        return EINVAL;
    void* memory = __libc_memalign(alignment, size);
    if (!memory)
        return ENOMEM;
    *out = memory;
    return 0;
}

int pthread_mutex_lock(pthread_mutex_t* mutex) noexcept {
    if (watched)
        ++locks;
    return resolve(realLock, "pthread_mutex_lock")(mutex);
}

int pthread_mutex_trylock(pthread_mutex_t* mutex) noexcept {
    if (watched)
        ++locks;
    return resolve(realTryLock, "pthread_mutex_trylock")(mutex);
}
}

// Ctrl-C, CPU time and standard streams on POSIX systems.

#include "platform/HostWindow.h"

#include <atomic>
#include <csignal>
#include <ctime>
#include <sys/resource.h>

namespace platform {

namespace {

std::atomic<bool> interrupted{false};

void noteInterrupt(int) {
    interrupted.store(true, std::memory_order_relaxed);
}

double seconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) * 1e-6;
}

} // namespace

void watchForInterrupt() {
    struct sigaction action {};
    action.sa_handler = noteInterrupt;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a wait for events ends at once, and the pump sees the flag.
    action.sa_flags = 0;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool interruptRequested() {
    return interrupted.load(std::memory_order_relaxed);
}

double processCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double threadCpuSeconds() {
    timespec time{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time);
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_nsec) * 1e-9;
}

void useBinaryStandardStreams() {}

} // namespace platform

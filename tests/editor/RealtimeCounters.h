#pragma once
// Counts, per thread, what a real-time call must not do: allocate through
// operator new and lock a mutex (pthread_mutex_lock and _trylock, which
// every std::mutex goes through). The program that links this replaces
// both. Sanitizer builds keep their own allocator and their own mutex
// interceptors, and count nothing.

// Whether this build counts.
bool realtimeCountersActive();
// Allocations and mutex locks by the calling thread so far.
long allocationsOnThisThread();
long locksOnThisThread();

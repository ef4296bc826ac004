#pragma once
// Counts the calls a plug-in makes that do not belong on an audio thread:
// memory allocations and frees, and mutex locks. Counting covers only the
// calling thread and only between begin and end, so the validator's own
// work around a call is never counted.

struct RealtimeCounts {
    long allocations = 0; // malloc, calloc, realloc, free and the aligned kinds
    long locks = 0;       // pthread_mutex_lock and pthread_mutex_trylock
};

// Whether this build counts (Linux without sanitizers); elsewhere every
// count stays 0.
bool realtimeCallsCounted();
void beginRealtimeCount();
RealtimeCounts endRealtimeCount();

#include "cli/validate/RealtimeProbe.h"

// This build keeps the system's allocator and locks as they are.
bool realtimeCallsCounted() {
    return false;
}

void beginRealtimeCount() {}

RealtimeCounts endRealtimeCount() {
    return {};
}

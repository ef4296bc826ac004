// Process-wide state of the plug-in library, shared by all its instances.

#include "host/Entry.h"

std::atomic<bool> outOfMemory{false};
void* moduleHandle = nullptr;

int libraryLoadHook(void* module, unsigned long, void*) {
    moduleHandle = module;
    return 1;
}

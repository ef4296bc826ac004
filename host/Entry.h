#pragma once
// The library's entry: `main` asks the host for its version and builds one
// effect instance, whose record it returns.

#include "host/EffectRecord.h"

#include <atomic>

class EffectBase;

// Set when an instance could not allocate its editor; never cleared, so
// every later instantiation in this process fails as well.
extern std::atomic<bool> outOfMemory;
// The library's module handle, recorded by the load hook.
extern void* moduleHandle;

// Builds the plug-in's most derived effect class. Defined by the plug-in
// binary's top layer, so this layer never names the classes above it.
EffectBase* createEffectInstance(HostCallback callback);

// The body of the exported `main`.
EffectRecord* pluginMain(HostCallback callback);

// The platform's library load notification: records the module handle.
int libraryLoadHook(void* module, unsigned long reason, void* reserved);

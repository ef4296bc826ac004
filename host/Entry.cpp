#include "host/Entry.h"

#include "host/EffectBase.h"

#include <new>

EffectRecord* pluginMain(HostCallback callback) {
    if (!callback || callback(nullptr, HostVersion, 0, 0, nullptr, 0.0f) == 0)
        return nullptr;
    EffectBase* effect = createEffectInstance(callback);
    if (!effect)
        return nullptr;
    if (outOfMemory.load(std::memory_order_relaxed)) {
        delete effect;
        return nullptr;
    }
    return effect->effectRecord();
}

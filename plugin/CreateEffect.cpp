// Decides which effect class the plug-in binary hands to the host.

#include "effect/ShaperEffect.h"
#include "host/Entry.h"

#include <new>

EffectBase* createEffectInstance(HostCallback callback) {
    return new (std::nothrow) ShaperEffect(callback);
}

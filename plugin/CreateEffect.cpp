// Decides which effect class the plug-in binary hands to the host: the
// waveshaper with its editor.

#include "editor/ShaperEffectEdit.h"
#include "host/Entry.h"

#include <new>

EffectBase* createEffectInstance(HostCallback callback) {
    return new (std::nothrow) ShaperEffectEdit(callback);
}

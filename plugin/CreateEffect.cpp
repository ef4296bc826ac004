// Decides which effect class the plug-in binary hands to the host: the
// waveshaper with its editor.

#include "editor/ShaperEffectEdit.h"
#include "host/Entry.h"
#include "resources/ResourceTable.h"

#include <new>

EffectBase* createEffectInstance(HostCallback callback) {
    // The editor's pictures come from the table compiled into this binary.
    resources::useEmbeddedBitmaps();
    return new (std::nothrow) ShaperEffectEdit(callback);
}

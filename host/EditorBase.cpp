#include "host/EditorBase.h"

std::int32_t EditorBase::editorRect(EditorRect** out) {
    if (out)
        *out = nullptr;
    return 0;
}

std::int32_t EditorBase::openWindow(void* parent) {
    parentWindow = parent;
    return 0;
}

void EditorBase::onIdle() {
    if (updatePending.exchange(0, std::memory_order_relaxed) != 0)
        performUpdate();
}

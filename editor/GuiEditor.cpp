#include "editor/GuiEditor.h"

#include "gui/Frame.h"
#include "gui/ToolkitModule.h"
#include "host/Entry.h"
#include "host/ExtendedEffect.h"
#include "platform/Input.h"

GuiEditor::GuiEditor(ExtendedEffect* owner) : EditorBase(owner), hostEffect(owner) {
    setToolkitModule(moduleHandle);
    if (owner)
        owner->attachEditor(this);
    parentWindow = nullptr;
    lastIdleTicks = currentTicks();
}

std::int32_t GuiEditor::editorRect(EditorRect** out) {
    if (out)
        *out = &rect;
    return 1;
}

std::int32_t GuiEditor::openWindow(void* parent) {
    scheduleUpdate();
    EditorBase::openWindow(parent);
    return 0;
}

void GuiEditor::onIdle() {
    EditorBase::onIdle();
    if (frame)
        frame->pump();
}

void GuiEditor::parameterChanged(std::int32_t, float) {
    scheduleUpdate();
}

void GuiEditor::redrawAll(const Rect*) {
    if (frame)
        frame->paintView(nullptr);
}

void GuiEditor::trackingIdle() {
    const std::uint32_t now = currentTicks();
    // The elapsed time in modular arithmetic stays right across the
    // counter's wrap at 2^32.
    if (now - lastIdleTicks < TrackingIdleInterval)
        return;
    lastIdleTicks = now;
    onIdle();
    if (effect)
        effect->hostIdle();
}

void* GuiEditor::openHostWindow(WindowDescription& description) {
    if (!hostEffect)
        return nullptr;
    return reinterpret_cast<void*>(hostEffect->hostOpenWindow(&description));
}

void GuiEditor::closeHostWindow(WindowDescription& description) {
    if (hostEffect)
        hostEffect->hostCloseWindow(&description);
}

std::uint32_t GuiEditor::currentTicks() {
    return platform::tickCount();
}

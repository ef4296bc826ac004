#include "gui/Control.h"

#include "gui/Frame.h"
#include "gui/FrameEditor.h"
#include "platform/Input.h"

Control::Control(const Rect& size, ControlListener* listener, std::int32_t tag)
    : View(size), controlListener(listener), controlTag(tag) {}

void Control::refresh(DrawContext& context) {
    if (currentValue != lastDrawn) {
        draw(context);
        lastDrawn = currentValue;
    }
}

void Control::pumpEditorIdle() {
    if (ownerFrame && ownerFrame->editor())
        ownerFrame->editor()->trackingIdle();
}

void Control::setValue(float value) {
    currentValue = value;
}
float Control::value() const {
    return currentValue;
}
void Control::setMin(float value) {
    minimum = value;
}
float Control::min() const {
    return minimum;
}
void Control::setMax(float value) {
    maximum = value;
}
float Control::max() const {
    return maximum;
}
void Control::setLastDrawnValue(float value) {
    lastDrawn = value;
}
float Control::lastDrawnValue() const {
    return lastDrawn;
}
void Control::setDefaultValue(float value) {
    defaultVal = value;
}
float Control::defaultValue() const {
    return defaultVal;
}
void Control::setMouseActive(bool active) {
    isMouseActive = active;
}
bool Control::mouseActive() const {
    return isMouseActive;
}

void Control::reportIfChanged(DrawContext& context) {
    if (currentValue != lastDrawn && controlListener)
        controlListener->controlChanged(context, this);
}

void Control::resetToDefault(DrawContext& context) {
    currentValue = defaultVal;
    reportIfChanged(context);
}

void Control::waitBeforeNextPoll() {
    platform::waitMilliseconds(1);
}

#include "gui/ToggleButton.h"

#include "gui/Bitmap.h"

ToggleButton::ToggleButton(const Rect& size, ControlListener* listener, std::int32_t tag,
                           Bitmap* picture)
    : Control(size, listener, tag), pictures(picture) {
    if (pictures)
        pictures->retain();
}

ToggleButton::~ToggleButton() {
    if (pictures)
        pictures->release();
}

void ToggleButton::draw(DrawContext& context) {
    if (pictures)
        pictures->blit(context, size, {0, currentValue == 0.0f ? 0 : pictures->height() / 2});
    lastDrawn = currentValue;
}

void ToggleButton::mouseDown(DrawContext& context, Point) {
    if (!isMouseActive)
        return;
    currentValue = static_cast<std::int32_t>(currentValue) == 0 ? 1.0f : 0.0f;
    draw(context);
    if (controlListener)
        controlListener->controlChanged(context, this);
}

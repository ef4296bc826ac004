#include "gui/StripControls.h"

#include "gui/Bitmap.h"

#include <algorithm>
#include <cmath>

PictureStripControl::PictureStripControl(const Rect& size, ControlListener* listener,
                                         std::int32_t tag, std::int32_t pictureHeight,
                                         Bitmap* strip, const Point& offset)
    : Control(size, listener, tag), pictures(strip), height(pictureHeight), pictureOffset(offset) {
    if (pictures)
        pictures->retain();
}

PictureStripControl::~PictureStripControl() {
    if (pictures)
        pictures->release();
}

void PictureStripControl::drawPicture(DrawContext& context, std::int32_t k) {
    drawFrom(context, {pictureOffset.h, pictureOffset.v + k * height});
}

void PictureStripControl::drawFrom(DrawContext& context, Point from) {
    if (pictures)
        pictures->blit(context, size, from);
}

void PictureStripControl::tellListener(DrawContext& context) {
    if (controlListener)
        controlListener->controlChanged(context, this);
}

template <typename ValueAt, typename WhenReleased>
void PictureStripControl::followPress(DrawContext& context, Point where, ValueAt valueAt,
                                      WhenReleased whenReleased) {
    const MouseButtons buttons = context.queryMouseButtons();
    if (!anyButtonDown(buttons)) {
        currentValue = whenReleased();
        tellListener(context);
        return;
    }
    trackMouse(
        context, where, buttons, [&](Point mouse, MouseButtons) { return valueAt(mouse); },
        anyButtonDown);
}

void PictureStripControl::toggleUnderMouse(DrawContext& context, Point where) {
    const float atPress = currentValue;
    const float opposite = atPress == 0.0f ? 1.0f : 0.0f;
    followPress(
        context, where, [&](Point mouse) { return size.contains(mouse) ? opposite : atPress; },
        [&] { return opposite; });
}

void RockerSwitch::draw(DrawContext& context) {
    std::int32_t k = 0;
    if (currentValue == 0.0f)
        k = 1;
    else if (currentValue == 1.0f)
        k = 2;
    drawPicture(context, k);
    lastDrawn = currentValue;
}

void RockerSwitch::mouseDown(DrawContext& context, Point where) {
    if (!isMouseActive)
        return;
    // The halves share their middle column; it counts to the left.
    const std::int32_t middle = size.left + size.width() / 2;
    const auto sideOf = [&](Point p, float elsewhere) {
        if (p.v < size.top || p.v > size.bottom)
            return elsewhere;
        if (size.left <= p.h && p.h <= middle)
            return -1.0f;
        if (middle <= p.h && p.h <= size.right)
            return 1.0f;
        return elsewhere;
    };
    const float atPress = currentValue;
    followPress(
        context, where, [&](Point mouse) { return sideOf(mouse, atPress); },
        [&] { return sideOf(where, atPress); });
    currentValue = 0.0f;
    tellListener(context);
}

void PictureStrip::draw(DrawContext& context) {
    currentValue = std::min(currentValue, 1.0f);
    const std::int32_t k =
        currentValue > 0.0f
            ? static_cast<std::int32_t>(currentValue * static_cast<float>(count - 1) + 0.5f)
            : 0;
    drawPicture(context, k);
    lastDrawn = currentValue;
}

void PictureStripButton::draw(DrawContext& context) {
    currentValue = std::clamp(currentValue, 0.0f, 1.0f);
    drawFrom(context, {0, currentValue == 0.0f ? 0 : height});
    lastDrawn = currentValue;
}

void PictureStripButton::mouseDown(DrawContext& context, Point where) {
    if (isMouseActive)
        toggleUnderMouse(context, where);
}

void MomentaryButton::draw(DrawContext& context) {
    currentValue = std::clamp(currentValue, 0.0f, 1.0f);
    drawPicture(context, currentValue == 0.0f ? 0 : 1);
    lastDrawn = currentValue;
}

void MomentaryButton::mouseDown(DrawContext& context, Point where) {
    if (!isMouseActive)
        return;
    toggleUnderMouse(context, where);
    currentValue = 0.0f;
    tellListener(context);
}

void AnimationStrip::draw(DrawContext& context) {
    if (!isRunning)
        return;
    drawFrom(context, {pictureOffset.h, static_cast<std::int32_t>(currentValue) + pictureOffset.v});
    lastDrawn = currentValue;
}

void AnimationStrip::mouseDown(DrawContext& context, Point) {
    if (!isMouseActive)
        return;
    currentValue = 0.0f;
    if (!isRunning) {
        start();
        lastDrawn = -1.0f;
        tellListener(context);
    } else {
        draw(context);
        stop();
    }
}

void AnimationStrip::start() {
    isRunning = true;
}

void AnimationStrip::stop() {
    isRunning = false;
}

void AnimationStrip::nextPicture() {
    step(static_cast<float>(height));
}

void AnimationStrip::previousPicture() {
    step(-static_cast<float>(height));
}

// The offset wraps modulo the height of the whole strip.
void AnimationStrip::step(float pixels) {
    currentValue += pixels;
    const float stripHeight = pictures ? static_cast<float>(pictures->height()) : 0.0f;
    if (stripHeight <= 0.0f)
        return;
    currentValue = std::fmod(currentValue, stripHeight);
    if (currentValue < 0.0f)
        currentValue += stripHeight;
}

#include "gui/Faders.h"

#include "gui/Bitmap.h"
#include "gui/OffscreenContext.h"

#include <algorithm>

namespace {

constexpr MouseButtons dragButtons = MouseLeft;
constexpr MouseButtons fineDragButtons = MouseLeft | MouseShift;

// The handle's leading edge relative to the control, for the fraction `f`
// of the travel: raised to the lower limit when it would lie before it.
std::int32_t leadingEdge(float f, std::int32_t range, std::int32_t handleOffset,
                         std::int32_t lowerLimit) {
    const std::int32_t edge =
        static_cast<std::int32_t>(f * static_cast<float>(range)) + handleOffset;
    return std::max(edge, lowerLimit);
}

// Background, then the handle into `handleRect`, composed offscreen and
// copied onto the context in one piece.
void composeFader(DrawContext& context, Frame* frame, const Rect& size, Bitmap* background,
                  Point backgroundOffset, Bitmap* handle, bool masked, const Rect& handleRect) {
    OffscreenContext offscreen(frame, size.width(), size.height(), colors::black);
    if (background)
        background->blit(offscreen, {0, 0, size.width(), size.height()}, backgroundOffset);
    if (handle) {
        if (masked)
            handle->blitMasked(offscreen, handleRect, {0, 0});
        else
            handle->blit(offscreen, handleRect, {0, 0});
    }
    offscreen.blitTo(context, size, {0, 0});
}

// What a drag tracks: where along the axis it started, which edge the
// handle had then, the value it counts fine moves from and the buttons it
// counts them under.
struct Drag {
    std::int32_t pressAt;
    std::int32_t handleAtPress;
    float anchor;
    MouseButtons mode;

    float valueAt(std::int32_t mouseAt, std::int32_t minimumPosition, std::int32_t range,
                  bool inverted, MouseButtons buttons) const {
        float value = static_cast<float>((mouseAt - minimumPosition) - (pressAt - handleAtPress)) /
                      static_cast<float>(range);
        if (inverted)
            value = 1.0f - value;
        if (buttons & MouseShift)
            value = anchor + (value - anchor) / 10.0f;
        return std::clamp(value, 0.0f, 1.0f);
    }

    // Shift pressed anew: fine moves count from the value reached so far.
    // The mode follows every change, releasing shift too, so that pressing
    // it a second time anchors there and not at the first press.
    bool follow(MouseButtons buttons, float current) {
        if (buttons != mode) {
            if (buttons & MouseShift)
                anchor = current;
            mode = buttons;
        }
        return buttons == dragButtons || buttons == fineDragButtons;
    }
};

} // namespace

Fader::Fader(Axis axis, const Rect& size, ControlListener* listener, std::int32_t tag,
             std::int32_t minimumPosition, std::int32_t maximumPosition, Bitmap* handle,
             Bitmap* background, const Point& backgroundOffset, std::int32_t style)
    : Control(size, listener, tag), axis(axis), handle(handle), background(background),
      handleWidth(handle ? handle->width() : 0), handleHeight(handle ? handle->height() : 0),
      backgroundOffset(backgroundOffset), minimumPosition(minimumPosition),
      maximumPosition(maximumPosition), styleBits(style),
      // A vertical handle starts at the maximum position; a horizontal one
      // gets its position at the first draw.
      position(isVertical() ? maximumPosition : 0), lower(minimumPosition - along(corner())),
      upper(maximumPosition + handleLength() - along(corner())) {
    if (handle)
        handle->retain();
    if (background)
        background->retain();
}

Fader::~Fader() {
    if (handle)
        handle->release();
    if (background)
        background->release();
}

void Fader::setMaskedHandle(bool maskedHandle) {
    masked = maskedHandle;
}

void Fader::setHandleOffset(Point offset) {
    offsetOfHandle = offset;
}

Rect Fader::spanning(std::int32_t alongFrom, std::int32_t alongTo, std::int32_t acrossFrom,
                     std::int32_t acrossTo) const {
    if (isVertical())
        return {acrossFrom, alongFrom, acrossTo, alongTo};
    return {alongFrom, acrossFrom, alongTo, acrossTo};
}

void Fader::draw(DrawContext& context) {
    const std::int32_t uninverted = isVertical() ? faderStyle::zeroAtTop : faderStyle::zeroAtLeft;
    const float f = (styleBits & uninverted) ? currentValue : 1.0f - currentValue;
    const std::int32_t range = maximumPosition - minimumPosition;
    const std::int32_t leading = leadingEdge(f, range, along(offsetOfHandle), lower);
    const std::int32_t side = across(offsetOfHandle);
    const Rect handleRect =
        spanning(leading, std::min(leading + handleLength(), upper), side, side + handleBreadth());
    composeFader(context, ownerFrame ? ownerFrame : context.frame(), size, background,
                 backgroundOffset, handle, masked, handleRect);
    position = leading + along(corner());
    lastDrawn = currentValue;
}

void Fader::mouseDown(DrawContext& context, Point where) {
    if (!isMouseActive)
        return;
    const MouseButtons buttons = context.queryMouseButtons();
    if (buttons == resetButtons) {
        resetToDefault(context);
        return;
    }
    if (buttons != dragButtons && buttons != fineDragButtons)
        return;
    const std::int32_t side = across(corner());
    const Rect onHandle =
        spanning(position, position + handleLength(), side, side + handleBreadth());
    if (!onHandle.contains(where))
        return;

    const std::int32_t range = maximumPosition - minimumPosition;
    const std::int32_t invertedBit =
        isVertical() ? faderStyle::zeroAtBottom : faderStyle::zeroAtRight;
    const bool inverted = (styleBits & invertedBit) != 0;
    Drag drag{along(where), position, currentValue, buttons};
    trackMouse(
        context, where, buttons,
        [&](Point mouse, MouseButtons now) {
            return drag.valueAt(along(mouse), minimumPosition, range, inverted, now);
        },
        [&](MouseButtons now) { return drag.follow(now, currentValue); });
}

#include "gui/Faders.h"

#include "gui/Bitmap.h"
#include "gui/OffscreenContext.h"

#include <algorithm>

// Both faders share their arithmetic; each passes in the coordinates along
// its own axis.
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

VerticalFader::VerticalFader(const Rect& size, ControlListener* listener, std::int32_t tag,
                             std::int32_t minimumPosition, std::int32_t maximumPosition,
                             Bitmap* handle, Bitmap* background, const Point& backgroundOffset,
                             std::int32_t style)
    : Control(size, listener, tag), handle(handle), background(background),
      handleWidth(handle ? handle->width() : 0), handleHeight(handle ? handle->height() : 0),
      backgroundOffset(backgroundOffset), minimumPosition(minimumPosition),
      maximumPosition(maximumPosition), styleBits(style), position(maximumPosition),
      lower(minimumPosition - size.top), upper(maximumPosition + handleHeight - size.top),
      controlWidth(size.width()), controlHeight(size.height()) {
    if (handle)
        handle->retain();
    if (background)
        background->retain();
}

VerticalFader::~VerticalFader() {
    if (handle)
        handle->release();
    if (background)
        background->release();
}

void VerticalFader::setMaskedHandle(bool maskedHandle) {
    masked = maskedHandle;
}

void VerticalFader::setHandleOffset(Point offset) {
    offsetOfHandle = offset;
}

void VerticalFader::draw(DrawContext& context) {
    const float f = (styleBits & faderStyle::zeroAtTop) ? currentValue : 1.0f - currentValue;
    const std::int32_t range = maximumPosition - minimumPosition;
    Rect handleRect;
    handleRect.left = offsetOfHandle.h;
    handleRect.right = handleRect.left + handleWidth;
    handleRect.top = leadingEdge(f, range, offsetOfHandle.v, lower);
    handleRect.bottom = std::min(handleRect.top + handleHeight, upper);
    composeFader(context, ownerFrame ? ownerFrame : context.frame(), size, background,
                 backgroundOffset, handle, masked, handleRect);
    position = handleRect.top + size.top;
    lastDrawn = currentValue;
}

void VerticalFader::mouseDown(DrawContext& context, Point where) {
    if (!isMouseActive)
        return;
    const MouseButtons buttons = context.queryMouseButtons();
    if (buttons == resetButtons) {
        resetToDefault(context);
        return;
    }
    if (buttons != dragButtons && buttons != fineDragButtons)
        return;
    const Rect onHandle{size.left, position, size.left + handleWidth, position + handleHeight};
    if (!onHandle.contains(where))
        return;

    const std::int32_t range = maximumPosition - minimumPosition;
    const bool inverted = (styleBits & faderStyle::zeroAtBottom) != 0;
    Drag drag{where.v, position, currentValue, buttons};
    trackMouse(
        context, where, buttons,
        [&](Point mouse, MouseButtons now) {
            return drag.valueAt(mouse.v, minimumPosition, range, inverted, now);
        },
        [&](MouseButtons now) { return drag.follow(now, currentValue); });
}

HorizontalFader::HorizontalFader(const Rect& size, ControlListener* listener, std::int32_t tag,
                                 std::int32_t minimumPosition, std::int32_t maximumPosition,
                                 Bitmap* handle, Bitmap* background, const Point& backgroundOffset,
                                 std::int32_t style)
    : Control(size, listener, tag), handle(handle), background(background),
      handleWidth(handle ? handle->width() : 0), handleHeight(handle ? handle->height() : 0),
      backgroundOffset(backgroundOffset), minimumPosition(minimumPosition),
      maximumPosition(maximumPosition), styleBits(style), lower(minimumPosition - size.left),
      upper(maximumPosition + handleWidth - size.left), controlWidth(size.width()),
      controlHeight(size.height()) {
    if (handle)
        handle->retain();
    if (background)
        background->retain();
}

HorizontalFader::~HorizontalFader() {
    if (handle)
        handle->release();
    if (background)
        background->release();
}

void HorizontalFader::setMaskedHandle(bool maskedHandle) {
    masked = maskedHandle;
}

void HorizontalFader::setHandleOffset(Point offset) {
    offsetOfHandle = offset;
}

void HorizontalFader::draw(DrawContext& context) {
    const float f = (styleBits & faderStyle::zeroAtLeft) ? currentValue : 1.0f - currentValue;
    const std::int32_t range = maximumPosition - minimumPosition;
    Rect handleRect;
    handleRect.top = offsetOfHandle.v;
    handleRect.bottom = handleRect.top + handleHeight;
    handleRect.left = leadingEdge(f, range, offsetOfHandle.h, lower);
    handleRect.right = std::min(handleRect.left + handleWidth, upper);
    composeFader(context, ownerFrame ? ownerFrame : context.frame(), size, background,
                 backgroundOffset, handle, masked, handleRect);
    position = handleRect.left + size.left;
    lastDrawn = currentValue;
}

void HorizontalFader::mouseDown(DrawContext& context, Point where) {
    if (!isMouseActive)
        return;
    const MouseButtons buttons = context.queryMouseButtons();
    if (buttons == resetButtons) {
        resetToDefault(context);
        return;
    }
    if (buttons != dragButtons && buttons != fineDragButtons)
        return;
    const Rect onHandle{position, size.top, position + handleWidth, size.top + handleHeight};
    if (!onHandle.contains(where))
        return;

    const std::int32_t range = maximumPosition - minimumPosition;
    const bool inverted = (styleBits & faderStyle::zeroAtRight) != 0;
    Drag drag{where.h, position, currentValue, buttons};
    trackMouse(
        context, where, buttons,
        [&](Point mouse, MouseButtons now) {
            return drag.valueAt(mouse.h, minimumPosition, range, inverted, now);
        },
        [&](MouseButtons now) { return drag.follow(now, currentValue); });
}

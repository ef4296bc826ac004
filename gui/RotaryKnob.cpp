#include "gui/RotaryKnob.h"

#include "gui/Bitmap.h"

#include <cmath>

namespace {
// The sweep runs 3/2 of a turn clockwise, starting at 5/8 of a turn.
constexpr float sweep = 4.712389f;       // 3 pi / 2
constexpr float sweepStart = 3.9269907f; // 5 pi / 4
constexpr float quarterTurn = 1.5707964f;
constexpr float halfTurn = 3.1415927f;
constexpr float fullTurn = 6.2831855f;
constexpr std::int32_t insetWithoutHandle = 5;
} // namespace

RotaryKnob::RotaryKnob(const Rect& size, ControlListener* listener, std::int32_t tag,
                       Bitmap* background, Bitmap* handle, const Point& backgroundOffset)
    : Control(size, listener, tag), handleInset(handle ? handle->width() / 2 : insetWithoutHandle),
      background(background), handle(handle), pictureOffset(backgroundOffset) {
    if (background)
        background->retain();
    if (handle)
        handle->retain();
}

RotaryKnob::~RotaryKnob() {
    if (background)
        background->release();
    if (handle)
        handle->release();
}

float RotaryKnob::radius() const {
    return static_cast<float>((size.right - size.left) - 2 * handleInset) / 2.0f;
}

void RotaryKnob::handlePointForValue(Point& out) const {
    const float r = radius();
    const float angle = (currentValue - minimum) * (sweep / (maximum - minimum)) + sweepStart;
    const float sine = static_cast<float>(std::sin(static_cast<double>(angle)));
    const float cosine = static_cast<float>(std::cos(static_cast<double>(angle)));
    // Conversion to an integer truncates toward zero.
    out.h = static_cast<std::int32_t>(r + sine * r) + handleInset;
    out.v = static_cast<std::int32_t>(r - cosine * r) + handleInset;
}

float RotaryKnob::valueForPoint(Point where) const {
    const float range = maximum - minimum;
    const float r = radius();
    const float x = static_cast<float>(where.h - handleInset) - r;
    const float y = r - static_cast<float>(where.v - handleInset);

    float angle;
    if (std::fabs(y) < 1e-12f && std::fabs(x) < 1e-12f)
        angle = 0.0f;
    else if (y == 0.0f) // atan of an infinite slope, without dividing by zero
        angle = x > 0.0f ? -quarterTurn : quarterTurn;
    else
        angle = -std::atan(x / y);
    angle += quarterTurn;
    if (y < 0.0f)
        angle += halfTurn;
    // Position on the circle as a fraction of a turn, clockwise from 9:00.
    const float turn = angle / fullTurn;

    if (turn <= 0.625f || turn >= 0.875f) {
        const float fromStart = turn < 0.875f ? turn + 0.125f : turn - 0.875f;
        const float value = range - fromStart * 1.3333334f * range + minimum;
        return std::fmin(std::fmax(value, minimum), maximum);
    }
    // The gap at the bottom snaps to the nearer end.
    return turn >= 0.75f ? maximum : minimum;
}

void RotaryKnob::setBackgroundPicture(Bitmap* picture) {
    // Retained before the old one is released, so that setting the same
    // picture again cannot free it.
    if (picture)
        picture->retain();
    if (background)
        background->release();
    background = picture;
}

Bitmap* RotaryKnob::backgroundPicture() const {
    return background;
}

void RotaryKnob::draw(DrawContext& context) {
    if (background)
        background->blit(context, size, pictureOffset);
    if (handle) {
        Point p;
        handlePointForValue(p);
        const Point corner{p.h + size.left - handleInset, p.v + size.top - handleInset};
        handle->blitMasked(
            context, {corner.h, corner.v, corner.h + handle->width(), corner.v + handle->height()},
            {0, 0});
    }
    lastDrawn = currentValue;
}

void RotaryKnob::mouseDown(DrawContext& context, Point where) {
    if (!isMouseActive)
        return;
    const MouseButtons buttons = context.queryMouseButtons();
    if (buttons == resetButtons) {
        resetToDefault(context);
        return;
    }
    const Point origin{size.left - handleInset, size.top - handleInset};
    trackMouse(
        context, where, buttons,
        [&](Point mouse, MouseButtons) {
            return valueForPoint({mouse.h - origin.h, mouse.v - origin.v});
        },
        anyButtonDown);
}

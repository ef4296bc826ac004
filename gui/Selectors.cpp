#include "gui/Selectors.h"

#include "gui/Bitmap.h"

namespace {

// Which of the N stacked pictures shows `value`: the first i in 1..N-1
// with value < i / (N - 1), less one; N - 1 when there is none.
std::int32_t pictureIndexForValue(float value, std::int32_t positions) {
    const float step = 1.0f / static_cast<float>(positions - 1);
    for (std::int32_t i = 1; i < positions; ++i)
        if (value < static_cast<float>(i) * step)
            return i - 1;
    return positions - 1;
}

void drawSelected(DrawContext& context, Bitmap* picture, const Rect& size, float value,
                  std::int32_t positions, std::int32_t pictureHeight) {
    if (!picture)
        return;
    const std::int32_t index = pictureIndexForValue(value, positions);
    picture->blit(context, size, {0, index * pictureHeight});
}

// The value for a pointer `distance` pixels into the selector along its
// axis, where each position takes `cellLength` pixels: (i - 1) / (N - 1)
// for the first i in 1..N-1 whose cell boundary trunc(i * cellLength) the
// distance has not passed, 1 past the last boundary. A row selector counts
// a pointer on a boundary to the cell before it, a column selector to the
// cell after it.
float valueForDistance(std::int32_t distance, float cellLength, std::int32_t positions,
                       bool boundaryBelongsBefore) {
    for (std::int32_t i = 1; i < positions; ++i) {
        const auto boundary = static_cast<std::int32_t>(static_cast<float>(i) * cellLength);
        if (boundaryBelongsBefore ? distance <= boundary : distance < boundary)
            return static_cast<float>(i - 1) / static_cast<float>(positions - 1);
    }
    return 1.0f;
}

} // namespace

StackedSelector::StackedSelector(const Rect& size, ControlListener* listener, std::int32_t tag,
                                 std::int32_t pictureCount, std::int32_t pictureHeight,
                                 std::int32_t positions, Bitmap* picture, const Point& offset)
    : Control(size, listener, tag), stackedPictures(picture), pictureOffset(offset),
      count(pictureCount), height(pictureHeight), positionCount(positions) {
    defaultVal = 0.0f;
    if (stackedPictures)
        stackedPictures->retain();
}

StackedSelector::~StackedSelector() {
    if (stackedPictures)
        stackedPictures->release();
}

void StackedSelector::draw(DrawContext& context) {
    drawSelected(context, stackedPictures, size, currentValue, positionCount, height);
    lastDrawn = currentValue;
}

template <typename Distance>
void StackedSelector::trackAlongAxis(DrawContext& context, Point where, float cellLength,
                                     bool boundaryBelongsBefore, Distance distanceOf) {
    if (!isMouseActive)
        return;
    const MouseButtons buttons = context.queryMouseButtons();
    if (buttons == resetButtons) {
        resetToDefault(context);
        return;
    }
    trackMouse(
        context, where, buttons,
        [&](Point mouse, MouseButtons) {
            return valueForDistance(distanceOf(mouse), cellLength, positionCount,
                                    boundaryBelongsBefore);
        },
        anyButtonDown);
}

void RowSelector::mouseDown(DrawContext& context, Point where) {
    const std::int32_t pictureWidth = stackedPictures ? stackedPictures->width() : 0;
    const float cellWidth = static_cast<float>(pictureWidth) / static_cast<float>(positionCount);
    trackAlongAxis(context, where, cellWidth, true,
                   [&](Point mouse) { return mouse.h - size.left; });
}

void ColumnSelector::mouseDown(DrawContext& context, Point where) {
    // The cells divide the height of one picture, not of the whole stack.
    const float cellHeight = static_cast<float>(height) / static_cast<float>(positionCount);
    trackAlongAxis(context, where, cellHeight, false,
                   [&](Point mouse) { return mouse.v - size.top; });
}

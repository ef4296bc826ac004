#include "gui/LevelMeter.h"

#include "gui/Bitmap.h"

#include <algorithm>

namespace {
Rect sorted(const Rect& r) {
    return {std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
            std::max(r.top, r.bottom)};
}
} // namespace

LevelMeter::LevelMeter(const Rect& size, Bitmap* onPicture, Bitmap* offPicture,
                       std::int32_t segmentCount, std::int32_t style)
    : Control(size, nullptr, 0), onPicture(onPicture), offPicture(offPicture),
      segments(segmentCount), styleBits(style), onArea(sorted(size)), offArea(sorted(size)) {
    if (onPicture)
        onPicture->retain();
    if (offPicture)
        offPicture->retain();
}

LevelMeter::~LevelMeter() {
    if (onPicture)
        onPicture->release();
    if (offPicture)
        offPicture->release();
}

void LevelMeter::setFallStep(float step) {
    fall = step;
}

void LevelMeter::draw(DrawContext& context) {
    if (!onPicture)
        return;
    currentValue = std::clamp(currentValue, minimum, maximum);
    const float lowest = std::max(lastDrawn - fall, minimum);
    currentValue = std::max(currentValue, lowest);
    lastDrawn = currentValue;

    // The share of the picture that is on (horizontal) or off (vertical),
    // in whole segments; without segments the split follows the value.
    const auto inSegments = [&](float share) {
        if (segments <= 0)
            return share;
        const auto whole = static_cast<std::int32_t>(static_cast<float>(segments) * share + 0.5f);
        return static_cast<float>(whole) / static_cast<float>(segments);
    };
    // Counted from the sorted corners, so that a size given the other way
    // round splits the same way.
    const Rect box = sorted(size);
    Point onOffset{0, 0};
    Point offOffset{0, 0};
    if (styleBits & levelMeterStyle::horizontal) {
        const auto x = static_cast<std::int32_t>(static_cast<float>(onPicture->width()) *
                                                 inSegments(currentValue));
        onArea.right = offArea.left = box.left + x;
        offOffset = {x, 0};
    } else {
        const auto y = static_cast<std::int32_t>(static_cast<float>(onPicture->height()) *
                                                 inSegments(maximum - currentValue));
        offArea.bottom = onArea.top = box.top + y;
        onOffset = {0, y};
    }
    if (offPicture)
        offPicture->blit(context, offArea, offOffset);
    onPicture->blit(context, onArea, onOffset);
}

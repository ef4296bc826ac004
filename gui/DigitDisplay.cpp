#include "gui/DigitDisplay.h"

#include "gui/Bitmap.h"

#include <algorithm>

DigitDisplay::DigitDisplay(const Rect& size, ControlListener* listener, std::int32_t tag,
                           float initialValue, std::int32_t digitCount, const std::int32_t* x,
                           const std::int32_t* y, std::int32_t digitWidth, std::int32_t digitHeight,
                           Bitmap* digitStrip)
    : Control(size, listener, tag), strip(digitStrip), count(std::clamp(digitCount, 0, maxDigits)),
      width(digitWidth), height(digitHeight) {
    if (x)
        std::copy_n(x, count, xs.begin());
    if (y)
        std::copy_n(y, count, ys.begin());
    std::int32_t largest = 1;
    for (std::int32_t i = 0; i < count; ++i)
        largest *= 10;
    currentValue = initialValue;
    maximum = static_cast<float>(largest - 1);
    minimum = 0.0f;
    if (strip)
        strip->retain();
}

DigitDisplay::~DigitDisplay() {
    if (strip)
        strip->release();
}

void DigitDisplay::draw(DrawContext& context) {
    std::int32_t rest =
        std::clamp(static_cast<std::int32_t>(currentValue), static_cast<std::int32_t>(minimum),
                   static_cast<std::int32_t>(maximum));
    std::int32_t divisor = static_cast<std::int32_t>(maximum) + 1;
    for (std::int32_t i = 0; i < count; ++i) {
        divisor /= 10;
        // A maximum below the digits' reach leaves the last ones nothing.
        const std::int32_t digit = divisor > 0 ? rest / divisor : 0;
        rest -= digit * divisor;
        const std::int32_t shown = std::clamp(digit, 0, 9);
        if (strip)
            strip->blit(context, {xs[i], ys[i], xs[i] + width, ys[i] + height},
                        {0, shown * height});
    }
    lastDrawn = currentValue;
}

float DigitDisplay::normalizedValue() const {
    if (maximum <= 0.0f)
        return 0.0f;
    return std::clamp(currentValue / maximum, 0.0f, 1.0f);
}

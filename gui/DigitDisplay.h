#pragma once
// A whole number shown as digits, each copied from a strip of the pictures
// of 0 to 9 stacked from top to bottom. Every digit has its own place in
// the window. No mouse action.

#include "gui/Control.h"

#include <array>

class Bitmap;

class DigitDisplay : public Control {
  public:
    static constexpr std::int32_t maxDigits = 7;

    // At most 7 digits (more are limited to 7); `x` and `y` hold the
    // window coordinates of each digit's top-left corner. The range is
    // 0 to 10^count - 1. The strip, if any, is retained.
    DigitDisplay(const Rect& size, ControlListener* listener, std::int32_t tag, float initialValue,
                 std::int32_t digitCount, const std::int32_t* x, const std::int32_t* y,
                 std::int32_t digitWidth, std::int32_t digitHeight, Bitmap* digitStrip);
    ~DigitDisplay() override;

    // The whole part of the value, limited to the range, with leading
    // zeros; a digit above 9 shows 9.
    void draw(DrawContext& context) override;

    // The value as a fraction of the maximum, within 0..1.
    virtual float normalizedValue() const;

    std::int32_t digitCount() const { return count; }
    Bitmap* digitStrip() const { return strip; }

  private:
    Bitmap* strip;
    std::int32_t count;
    std::array<std::int32_t, maxDigits> xs{};
    std::array<std::int32_t, maxDigits> ys{};
    std::int32_t width;
    std::int32_t height;
};

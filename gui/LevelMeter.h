#pragma once
// A meter: an on-picture up to the value and an off-picture beyond it,
// split at a whole number of segments. It rises at once but falls by at
// most one fall step per draw, so that peaks stay visible a moment.

#include "gui/Control.h"

class Bitmap;

namespace levelMeterStyle {
// Rises to the right; without it the meter rises upwards.
inline constexpr std::int32_t horizontal = 0x1;
} // namespace levelMeterStyle

class LevelMeter : public Control {
  public:
    // No listener and tag 0. The pictures are retained; without an
    // on-picture nothing is drawn.
    LevelMeter(const Rect& size, Bitmap* onPicture, Bitmap* offPicture, std::int32_t segmentCount,
               std::int32_t style);
    ~LevelMeter() override;

    // Limits the value to the range and to at most one fall step below
    // the value last drawn, storing what it shows.
    void draw(DrawContext& context) override;

    virtual void setFallStep(float step);

    float fallStep() const { return fall; }
    std::int32_t segmentCount() const { return segments; }
    std::int32_t style() const { return styleBits; }
    const Rect& onRect() const { return onArea; }
    const Rect& offRect() const { return offArea; }

  private:
    Bitmap* onPicture;
    Bitmap* offPicture;
    std::int32_t segments;
    std::int32_t styleBits;
    float fall = 1.0f;
    Rect onArea;
    Rect offArea;
};

#pragma once
// A knob drawn as one of N pictures of a strip instead of a handle on a
// circle: it takes the value from the pointer's angle as the rotary knob
// does, around the centre of its size.

#include "gui/RotaryKnob.h"

class FilmstripKnob : public RotaryKnob {
  public:
    // The strip, if any, is retained; `offset` is kept as the knob's
    // background offset.
    FilmstripKnob(const Rect& size, ControlListener* listener, std::int32_t tag,
                  std::int32_t pictureCount, std::int32_t pictureHeight, Bitmap* strip,
                  const Point& offset);
    ~FilmstripKnob() override;

    // Picture trunc(value * (N - 1)) of the strip: the lower one until the
    // value reaches the next.
    void draw(DrawContext& context) override;

    Bitmap* strip() const { return pictures; }
    std::int32_t pictureCount() const { return count; }
    std::int32_t pictureHeight() const { return height; }

  private:
    std::int32_t count;
    std::int32_t height;
    Bitmap* pictures;
};

#pragma once
// A button that flips between off and on at each press. Its picture holds
// two pictures of equal height: off above, on below.

#include "gui/Control.h"

class Bitmap;

class ToggleButton : public Control {
  public:
    // The picture, if any, is retained.
    ToggleButton(const Rect& size, ControlListener* listener, std::int32_t tag, Bitmap* picture);
    ~ToggleButton() override;

    // The off picture at value 0, the on picture otherwise.
    void draw(DrawContext& context) override;
    // Any button: 1 when the whole part of the value is 0, else 0; drawn
    // and reported at once.
    void mouseDown(DrawContext& context, Point where) override;

    Bitmap* picture() const { return pictures; }

  private:
    Bitmap* pictures;
};

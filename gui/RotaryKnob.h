#pragma once
// A knob: a handle that turns clockwise on a circle over an optional
// background as the value rises, from the lower left (minimum, 7:30 on a
// clock face) over the top (middle) to the lower right (maximum, 4:30).
// Dragging anywhere sets the value from the pointer's angle around the
// knob's centre; the gap at the bottom snaps to the nearer end.

#include "gui/Control.h"

class Bitmap;

class RotaryKnob : public Control {
  public:
    // The handle is required; both bitmaps are retained.
    RotaryKnob(const Rect& size, ControlListener* listener, std::int32_t tag, Bitmap* background,
               Bitmap* handle, const Point& backgroundOffset);
    ~RotaryKnob() override;

    void draw(DrawContext& context) override;
    // Left with alt resets to the default; any other press tracks the
    // pointer's angle while any button is down.
    void mouseDown(DrawContext& context, Point where) override;

    // The handle's centre for the current value, relative to the knob's
    // top-left corner less the inset.
    virtual void handlePointForValue(Point& out) const;
    // The value for a point in the same coordinates.
    virtual float valueForPoint(Point where) const;
    // Releases the old background, retains the new one.
    virtual void setBackgroundPicture(Bitmap* background);
    virtual Bitmap* backgroundPicture() const;

    std::int32_t inset() const { return handleInset; }
    Bitmap* handlePicture() const { return handle; }
    Point backgroundOffset() const { return pictureOffset; }

  protected:
    std::int32_t handleInset; // half the handle's width: keeps it inside the size

  private:
    float radius() const;

    Bitmap* background;
    Bitmap* handle;
    Point pictureOffset;
};

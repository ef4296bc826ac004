#pragma once
// Faders: a handle that slides along one axis over an optional background.
// The handle moves between a minimum and a maximum position given in window
// coordinates along the axis; drawing goes through an offscreen picture so
// the handle never flickers. Only a press on the handle starts a drag;
// holding shift moves the value a tenth as fast, counted from where shift
// went down.
//
// Style bits pick the direction; a fader is given exactly one of its pair.

#include "gui/Control.h"

class Bitmap;

namespace faderStyle {
inline constexpr std::int32_t zeroAtTop = 0x20;    // vertical: value 0 at the top
inline constexpr std::int32_t zeroAtBottom = 0x40; // vertical: value 0 at the bottom
inline constexpr std::int32_t zeroAtLeft = 0x08;   // horizontal: value 0 on the left
inline constexpr std::int32_t zeroAtRight = 0x10;  // horizontal: value 0 on the right
} // namespace faderStyle

// Both faders in one: everything is worked out along the fader's axis, and
// across it only the handle's breadth and offset matter. The leading edge
// of the handle is its top on a vertical fader and its left on a
// horizontal one.
class Fader : public Control {
  public:
    enum class Axis { Vertical, Horizontal };

    ~Fader() override;

    void draw(DrawContext& context) override;
    // Left, or left with shift, on the handle drags it; left with alt
    // resets to the default; anything else does nothing.
    void mouseDown(DrawContext& context, Point where) override;

    // Draws the handle with the transparency key (true) or opaque.
    virtual void setMaskedHandle(bool masked);
    // Moves the handle within the control, relative to where it would be.
    virtual void setHandleOffset(Point offset);

    Bitmap* handlePicture() const { return handle; }
    Bitmap* backgroundPicture() const { return background; }
    Point handleOffset() const { return offsetOfHandle; }
    std::int32_t style() const { return styleBits; }
    bool maskedHandle() const { return masked; }
    // Window coordinate of the handle's leading edge as last drawn.
    std::int32_t handlePosition() const { return position; }
    // Bounds of the handle rectangle along the axis, relative to the control.
    std::int32_t lowerLimit() const { return lower; }
    std::int32_t upperLimit() const { return upper; }

  protected:
    // The handle is required; both bitmaps are retained. The handle is
    // drawn masked until setMaskedHandle(false).
    Fader(Axis axis, const Rect& size, ControlListener* listener, std::int32_t tag,
          std::int32_t minimumPosition, std::int32_t maximumPosition, Bitmap* handle,
          Bitmap* background, const Point& backgroundOffset, std::int32_t style);

  private:
    bool isVertical() const { return axis == Axis::Vertical; }
    std::int32_t along(Point p) const { return isVertical() ? p.v : p.h; }
    std::int32_t across(Point p) const { return isVertical() ? p.h : p.v; }
    // The rectangle that spans alongFrom..alongTo on the axis and
    // acrossFrom..acrossTo across it.
    Rect spanning(std::int32_t alongFrom, std::int32_t alongTo, std::int32_t acrossFrom,
                  std::int32_t acrossTo) const;
    Point corner() const { return {size.left, size.top}; }
    std::int32_t handleLength() const { return isVertical() ? handleHeight : handleWidth; }
    std::int32_t handleBreadth() const { return isVertical() ? handleWidth : handleHeight; }

    Axis axis;
    Bitmap* handle;
    Bitmap* background;
    std::int32_t handleWidth;
    std::int32_t handleHeight;
    Point backgroundOffset;
    Point offsetOfHandle{0, 0};
    std::int32_t minimumPosition;
    std::int32_t maximumPosition;
    std::int32_t styleBits;
    std::int32_t position;
    bool masked = true;
    std::int32_t lower;
    std::int32_t upper;
};

// Style zeroAtTop or zeroAtBottom. The handle position is the maximum
// position until the first draw.
class VerticalFader : public Fader {
  public:
    VerticalFader(const Rect& size, ControlListener* listener, std::int32_t tag,
                  std::int32_t minimumPosition, std::int32_t maximumPosition, Bitmap* handle,
                  Bitmap* background, const Point& backgroundOffset, std::int32_t style)
        : Fader(Axis::Vertical, size, listener, tag, minimumPosition, maximumPosition, handle,
                background, backgroundOffset, style) {}
};

// Style zeroAtLeft or zeroAtRight. The handle position is set by the first
// draw.
class HorizontalFader : public Fader {
  public:
    HorizontalFader(const Rect& size, ControlListener* listener, std::int32_t tag,
                    std::int32_t minimumPosition, std::int32_t maximumPosition, Bitmap* handle,
                    Bitmap* background, const Point& backgroundOffset, std::int32_t style)
        : Fader(Axis::Horizontal, size, listener, tag, minimumPosition, maximumPosition, handle,
                background, backgroundOffset, style) {}
};

#pragma once
// Controls drawn from a picture strip: one bitmap holding pictures of equal
// height stacked from top to bottom. Picture k is copied into the control
// from (offset.h, offset.v + k * picture height) of the strip.

#include "gui/Control.h"

class Bitmap;

// What the strip controls share: the strip, which they retain, the height
// of one picture and the offset of picture 0.
class PictureStripControl : public Control {
  public:
    ~PictureStripControl() override;

    Bitmap* strip() const { return pictures; }
    std::int32_t pictureHeight() const { return height; }
    Point offset() const { return pictureOffset; }

  protected:
    PictureStripControl(const Rect& size, ControlListener* listener, std::int32_t tag,
                        std::int32_t pictureHeight, Bitmap* strip, const Point& offset);

    // Copies picture k, counted from the stored offset.
    void drawPicture(DrawContext& context, std::int32_t k);
    // Copies the strip from `from` into the control.
    void drawFrom(DrawContext& context, Point from);
    // Sets the value from where the pointer is while a button is held; a
    // press whose buttons are already up gets `whenReleased` at once.
    // Reports as the tracking loop does.
    template <typename ValueAt, typename WhenReleased>
    void followPress(DrawContext& context, Point where, ValueAt valueAt, WhenReleased whenReleased);
    void tellListener(DrawContext& context);
    // The two-picture toggle's mouse action: inside the control the value
    // is the opposite of the value at the press, outside it is that value.
    void toggleUnderMouse(DrawContext& context, Point where);

    Bitmap* pictures;
    std::int32_t height;
    Point pictureOffset;
};

// A momentary three-way switch: held on its left half it reads -1, on its
// right half +1, and it springs back to 0 when released. Pictures 0, 1
// and 2 show -1, 0 and +1.
class RockerSwitch : public PictureStripControl {
  public:
    RockerSwitch(const Rect& size, ControlListener* listener, std::int32_t tag,
                 std::int32_t pictureHeight, Bitmap* strip, const Point& offset)
        : PictureStripControl(size, listener, tag, pictureHeight, strip, offset) {}

    void draw(DrawContext& context) override;
    void mouseDown(DrawContext& context, Point where) override;
};

// Shows one of N pictures, the one nearest the value in 0..1. No mouse
// action.
class PictureStrip : public PictureStripControl {
  public:
    PictureStrip(const Rect& size, ControlListener* listener, std::int32_t tag,
                 std::int32_t pictureCount, std::int32_t pictureHeight, Bitmap* strip,
                 const Point& offset)
        : PictureStripControl(size, listener, tag, pictureHeight, strip, offset),
          count(pictureCount) {}

    // Values above 1 are lowered to 1 first.
    void draw(DrawContext& context) override;

    std::int32_t pictureCount() const { return count; }

  private:
    std::int32_t count;
};

// A two-picture toggle that follows the mouse: while held, the value is
// the opposite of the value at the press when the pointer is inside the
// control and the value at the press when it is outside. The pictures are
// the top two of the strip; the stored offset is not used.
class PictureStripButton : public PictureStripControl {
  public:
    PictureStripButton(const Rect& size, ControlListener* listener, std::int32_t tag,
                       std::int32_t pictureHeight, Bitmap* strip, const Point& offset)
        : PictureStripControl(size, listener, tag, pictureHeight, strip, offset) {}

    // The value is clamped into 0..1 first.
    void draw(DrawContext& context) override;
    void mouseDown(DrawContext& context, Point where) override;
};

// 1 while pressed with the pointer inside, 0 once released, with a last
// report of the 0. Its pictures count from the stored offset.
class MomentaryButton : public PictureStripControl {
  public:
    MomentaryButton(const Rect& size, ControlListener* listener, std::int32_t tag,
                    std::int32_t pictureHeight, Bitmap* strip, const Point& offset)
        : PictureStripControl(size, listener, tag, pictureHeight, strip, offset) {}

    void draw(DrawContext& context) override;
    void mouseDown(DrawContext& context, Point where) override;
};

// Pictures cycled by stepping while running. The value is the pixel offset
// of the shown picture into the strip; a press starts or stops it.
class AnimationStrip : public PictureStripControl {
  public:
    AnimationStrip(const Rect& size, ControlListener* listener, std::int32_t tag,
                   std::int32_t pictureCount, std::int32_t pictureHeight, Bitmap* strip,
                   const Point& offset)
        : PictureStripControl(size, listener, tag, pictureHeight, strip, offset),
          count(pictureCount) {}

    // Draws only while running.
    void draw(DrawContext& context) override;
    // Any button: a stopped strip starts at picture 0 and reports; a
    // running one shows picture 0 and stops.
    void mouseDown(DrawContext& context, Point where) override;

    virtual void start();
    virtual void stop();
    // One picture on or back; both wrap around the strip's whole height, so
    // stepping past the last picture comes back to the first.
    virtual void nextPicture();
    virtual void previousPicture();

    bool running() const { return isRunning; }
    std::int32_t pictureCount() const { return count; }

  private:
    void step(float pixels);

    std::int32_t count;
    bool isRunning = false;
};

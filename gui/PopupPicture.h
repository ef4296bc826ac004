#pragma once
// A hot spot that shows a picture over the editor when clicked and hides it
// at the next click. While open it is the frame's exclusive view: it alone
// takes presses, so a press anywhere on the picture closes it.

#include "gui/Control.h"

class Bitmap;

class PopupPicture : public Control {
  public:
    // The picture is retained; it shows in `displayRect` while open.
    PopupPicture(const Rect& size, ControlListener* listener, std::int32_t tag, Bitmap* picture,
                 const Rect& displayRect, const Point& pictureOffset);
    ~PopupPicture() override;

    // Draws the picture while open (value not 0), nothing while closed.
    void draw(DrawContext& context) override;
    // Opens when closed, closes when open; any button.
    void mouseDown(DrawContext& context, Point where) override;

    Bitmap* picture() const { return shownPicture; }
    const Rect& displayRect() const { return display; }
    Point pictureOffset() const { return offset; }
    // The hot spot's size while open; all 0 before the first opening.
    const Rect& savedSize() const { return saved; }

  private:
    void open(DrawContext& context);
    void close(DrawContext& context);

    Rect display;
    Rect saved{0, 0, 0, 0};
    Bitmap* shownPicture;
    Point offset;
};

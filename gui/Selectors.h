#pragma once
// Switches between N positions, drawn from one bitmap that holds N pictures
// of equal height stacked from top to bottom. The value steps through
// 0, 1/(N-1), ..., 1. A row selector picks the position from where the
// pointer lies across the picture's width, a column selector from where it
// lies down one picture's height.

#include "gui/Control.h"

class Bitmap;

// What both selectors share: the stacked pictures, their drawing, and the
// reset to default; each works out a press along its own axis.
class StackedSelector : public Control {
  public:
    // The picture is required and retained. The default value is 0.
    StackedSelector(const Rect& size, ControlListener* listener, std::int32_t tag,
                    std::int32_t pictureCount, std::int32_t pictureHeight, std::int32_t positions,
                    Bitmap* picture, const Point& offset);
    ~StackedSelector() override;

    void draw(DrawContext& context) override;

    Bitmap* picture() const { return stackedPictures; }
    Point offset() const { return pictureOffset; }
    std::int32_t pictureCount() const { return count; }
    std::int32_t pictureHeight() const { return height; }
    std::int32_t positions() const { return positionCount; }

  protected:
    // Left with alt resets to the default; any other press tracks the
    // pointer while any button is down, the value coming from how far the
    // pointer lies along the axis (`distanceOf`) in cells of `cellLength`.
    template <typename Distance>
    void trackAlongAxis(DrawContext& context, Point where, float cellLength,
                        bool boundaryBelongsBefore, Distance distanceOf);

    Bitmap* stackedPictures;
    Point pictureOffset;        // kept, not used
    std::int32_t count;         // kept, not used
    std::int32_t height;        // of one picture
    std::int32_t positionCount; // at least 2
};

class RowSelector : public StackedSelector {
  public:
    using StackedSelector::StackedSelector;
    void mouseDown(DrawContext& context, Point where) override;
};

class ColumnSelector : public StackedSelector {
  public:
    using StackedSelector::StackedSelector;
    void mouseDown(DrawContext& context, Point where) override;
};

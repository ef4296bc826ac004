#pragma once
// A rectangle of the editor's surface that draws itself, reacts to a mouse
// press and refreshes itself when its state changed. Views are attached to
// a Frame, which then owns them.

#include "gui/Geometry.h"

class DrawContext;
class Frame;
class OffscreenContext;

class View {
  public:
    explicit View(const Rect& size) : size(size) {}
    View(const View&) = delete;
    View& operator=(const View&) = delete;
    virtual ~View() = default;

    virtual void draw(DrawContext&) {}
    // A mouse button went down inside the view.
    virtual void mouseDown(DrawContext&, Point) {}
    // Draws again if the view's state changed since it was last drawn.
    virtual void refresh(DrawContext&) {}
    // The view loses the keyboard focus; called by the frame.
    virtual void releaseFocus() {}
    // The view takes the keyboard focus; called by the view itself.
    virtual void acquireFocus() {}
    // Records `backdrop` if it is at least as wide and as high as the view.
    virtual void setBackdrop(OffscreenContext* backdrop);

    // Asks the frame, if any, to draw this view now.
    void requestRedraw();

    const Rect& viewSize() const { return size; }
    void setViewSize(const Rect& r) { size = r; }
    Frame* frame() const { return ownerFrame; }
    void setFrame(Frame* frame) { ownerFrame = frame; }
    OffscreenContext* backdrop() const { return backdropContext; }

  protected:
    Rect size; // in the frame window's client coordinates
    Frame* ownerFrame = nullptr;
    OffscreenContext* backdropContext = nullptr;
};

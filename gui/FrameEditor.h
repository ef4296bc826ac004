#pragma once
// What a frame and its views need of the editor that owns the frame. The
// editor layer implements it; the toolkit knows no more of the editor, nor
// of the host behind it.

struct WindowDescription;

class FrameEditor {
  public:
    // The paced idle that keeps changed views redrawn while a view holds
    // the mouse: runs the editor's idle at most once per 50 ms and lets the
    // host run its own.
    virtual void trackingIdle() = 0;
    // Asks the host for a window of its own, as described, for a frame in
    // separate-window mode: the window to create the frame's window in, or
    // none when the host gives none.
    virtual void* openHostWindow(WindowDescription& description) = 0;
    // Gives the host the window it opened for this description back.
    virtual void closeHostWindow(WindowDescription& description) = 0;

  protected:
    ~FrameEditor() = default;
};

#pragma once
// What a frame and its views need of the editor that owns the frame. The
// editor layer implements it; the toolkit knows no more of the editor.

class ExtendedEffect;

class FrameEditor {
  public:
    // The paced idle that keeps changed views redrawn while a view holds
    // the mouse: runs the editor's idle at most once per 50 ms and lets the
    // host run its own.
    virtual void trackingIdle() = 0;
    // The effect whose host supplies separate windows; none if there is none.
    virtual ExtendedEffect* windowHostEffect() = 0;

  protected:
    ~FrameEditor() = default;
};

#pragma once
// A view that carries a value, draws it from bitmaps and changes it under
// the mouse. Every control has a tag that identifies it to its listener,
// and tells the listener of each change while the mouse moves.
//
// Mouse actions share one pattern, the tracking loop: after the press each
// pass computes the value from the pointer, tells the listener when it
// differs from the value last drawn, reads the pointer again, drives the
// editor's paced idle and reads the buttons, until the action's button
// condition no longer holds. A control that tracks a value never draws
// inside the loop; the frame's idle refresh (reached through pumpEditorIdle)
// redraws it. An action without a value may instead act on each new pointer
// position before the idle runs, and draw what it changed.

#include "gui/ControlListener.h"
#include "gui/DrawContext.h"
#include "gui/MouseButtons.h"
#include "gui/View.h"

#include <cstdint>
#include <type_traits>

class Control : public View {
  public:
    Control(const Rect& size, ControlListener* listener, std::int32_t tag);
    ~Control() override = default;

    // Every control draws its value and records it as the last drawn.
    void draw(DrawContext& context) override = 0;
    // Draws when the value differs from the value last drawn.
    void refresh(DrawContext& context) override;

    // Runs the editor's paced idle, if the control's frame has an editor:
    // what keeps changed controls redrawn while a mouse action holds the
    // thread.
    virtual void pumpEditorIdle();

    // Plain stores and reads; values are not clamped here.
    virtual void setValue(float value);
    virtual float value() const;
    virtual void setMin(float minimum);
    virtual float min() const;
    virtual void setMax(float maximum);
    virtual float max() const;
    virtual void setLastDrawnValue(float value);
    virtual float lastDrawnValue() const;
    virtual void setDefaultValue(float value);
    virtual float defaultValue() const;
    virtual void setMouseActive(bool active);
    virtual bool mouseActive() const;

    std::int32_t tag() const { return controlTag; }
    ControlListener* listener() const { return controlListener; }

  protected:
    // Left button with alt: the press that resets a control to its default.
    static constexpr MouseButtons resetButtons = MouseLeft | MouseAlt;
    // Whether a mouse button, not just a modifier key, is held.
    static bool anyButtonDown(MouseButtons buttons) {
        return (buttons & (MouseLeft | MouseMiddle | MouseRight)) != 0;
    }

    // Tells the listener when the value differs from the value last drawn.
    void reportIfChanged(DrawContext& context);
    // Sets the default value and reports it once if it differs from the
    // value last drawn; no tracking follows.
    void resetToDefault(DrawContext& context);
    // Given as `valueAt` by a mouse action that tracks no value: its passes
    // neither set nor report one.
    struct NoValue {};
    // Given as `moved` by a mouse action that does nothing more when the
    // pointer has been read.
    struct IgnoreMove {
        bool operator()(Point) const { return true; }
    };
    // The tracking loop. `valueAt(mouse, buttons)` gives the value of a
    // pass from the pointer and the buttons last read (those of the press
    // on the first pass, which starts at `where`); `moved(mouse)` sees each
    // new pointer position before the idle runs, and ends the loop at once
    // by returning false; `keepTracking(buttons)` sees each new button
    // state and says whether to go on.
    template <typename ValueAt, typename KeepTracking, typename Moved = IgnoreMove>
    void trackMouse(DrawContext& context, Point where, MouseButtons buttons, ValueAt valueAt,
                    KeepTracking keepTracking, Moved moved = {});

    ControlListener* controlListener;
    std::int32_t controlTag;
    bool isMouseActive = true;
    float lastDrawn = -1.0f; // so that the first refresh draws, even at 0
    float defaultVal = 0.5f;
    float currentValue = 0.0f;
    float minimum = 0.0f;
    float maximum = 1.0f;

  private:
    // Lets the thread rest between two polls of the pointer, so that a held
    // button does not keep a core busy.
    static void waitBeforeNextPoll();
};

template <typename ValueAt, typename KeepTracking, typename Moved>
void Control::trackMouse(DrawContext& context, Point where, MouseButtons buttons, ValueAt valueAt,
                         KeepTracking keepTracking, Moved moved) {
    Point mouse = where;
    do {
        if constexpr (!std::is_same_v<ValueAt, NoValue>) {
            currentValue = valueAt(mouse, buttons);
            reportIfChanged(context);
        }
        context.queryMousePosition(mouse);
        if (!moved(mouse))
            return;
        pumpEditorIdle();
        waitBeforeNextPoll();
        buttons = context.queryMouseButtons();
    } while (keepTracking(buttons));
}

#pragma once
// Whoever a control reports its changes to: the editor that turns them into
// effect parameters.

class Control;
class DrawContext;

class ControlListener {
  public:
    // The control's value changed during a mouse action. Called on every
    // tracking pass whose value differs from the one the control last drew,
    // so the same value may arrive more than once.
    virtual void controlChanged(DrawContext& context, Control* control) = 0;

  protected:
    ~ControlListener() = default;
};

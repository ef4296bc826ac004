#pragma once
// GuiEditor: the base of bitmap editors. It adds to EditorBase the editor
// rectangle the host asks for, the frame a concrete editor builds while it
// is open, an idle that also refreshes the frame, and the paced idle that
// controls drive while they track the mouse. It also hands the toolkit what
// it needs of the host: the module and the host's separate windows.

#include "gui/FrameEditor.h"
#include "gui/Geometry.h"
#include "host/EditorBase.h"

#include <cstdint>

class ExtendedEffect;
class Frame;
struct WindowDescription;

class GuiEditor : public EditorBase, public FrameEditor {
  public:
    // The paced idle runs at most once per this many milliseconds.
    static constexpr std::uint32_t TrackingIdleInterval = 50;

    // Attaches itself to the effect, which then owns it, and gives the
    // toolkit the library's module.
    explicit GuiEditor(ExtendedEffect* owner);
    ~GuiEditor() override = default;

    // Writes the address of `rect`; 1.
    std::int32_t editorRect(EditorRect** out) override;
    // Schedules an update and keeps the parent window. A concrete editor
    // calls this first and then builds its frame.
    std::int32_t openWindow(void* parent) override;
    // The deferred update, then the frame's idle refresh.
    void onIdle() override;
    // Any parameter change, from any thread: schedules an update.
    virtual void parameterChanged(std::int32_t index, float value);
    // Repaints the whole frame; the area is not used.
    virtual void redrawAll(const Rect* area);

    // At most once per TrackingIdleInterval: the idle, then the host's.
    void trackingIdle() override;
    // Through the effect's host services; none and nothing without an effect.
    void* openHostWindow(WindowDescription& description) override;
    void closeHostWindow(WindowDescription& description) override;

    // The platform's millisecond tick count; wraps at 2^32.
    static std::uint32_t currentTicks();

    Frame* editorFrame() const { return frame; }
    const EditorRect& editorRectangle() const { return rect; }

  protected:
    EditorRect rect{0, 0, 0, 0};
    Frame* frame = nullptr;
    std::uint32_t lastIdleTicks;
    ExtendedEffect* hostEffect;
};

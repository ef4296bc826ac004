#pragma once
// ShaperEditor: the plug-in's editor, a 568 x 290 picture with nine
// controls: the curve editor for parameter 0, four knobs (1 to 4), two
// selectors (5, 6), the DryWet fader (7) and a help picture that pops up
// over the curve. Control changes go to the effect as parameter changes
// (and on to the host); parameter changes move the controls; the curve's
// points outlive the window.
//
// Threads: the window, the controls and the gestures belong to the thread
// that opens the editor. Parameter changes may arrive on any thread; they
// only mark the parameter and schedule an update, and the controls take
// the effect's values at the next idle. The effect samples the curve
// through a published copy of its points: the live curve editor's while
// the window is open, the saved points' while it is closed. The host's
// state calls read and replace the curve from their own thread (copyCurve,
// loadCurve); a mutex that neither the audio thread nor parameter changes
// ever take keeps them apart from opening and closing the window.

#include "editor/GuiEditor.h"
#include "editor/PublishedCurve.h"
#include "gui/ControlListener.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

class Bitmap;
class Control;
class CurveEditor;
class PopupPicture;
class RotaryKnob;
class RowSelector;
class ShaperEffect;
class VerticalFader;

class ShaperEditor : public GuiEditor, public ControlListener {
  public:
    explicit ShaperEditor(ShaperEffect* owner);
    ~ShaperEditor() override;

    // Builds the frame and the nine controls; 1.
    std::int32_t openWindow(void* parent) override;
    // Saves the curve's points, destroys the frame and releases the
    // controls' bitmaps.
    void closeWindow() override;
    // Controls take the effect's changed values, then the frame refreshes.
    void onIdle() override;
    // Any thread. Does nothing while closed.
    void parameterChanged(std::int32_t index, float value) override;
    // From the controls: tags 0 to 7 become parameter changes.
    void controlChanged(DrawContext& context, Control* control) override;

    // Any thread but the audio thread: the curve as the editor holds it
    // (the window's, the saved one, or one loaded and not yet shown) into
    // `out` (room for CurveModel::MaxPoints points); its point count.
    int copyCurve(CurvePoint* out) const;
    // Any thread but the audio thread: replaces the curve with `count`
    // points (2 to 50) and puts its table in use. An open window shows it
    // from its next idle on.
    void loadCurve(const CurvePoint* points, int count);
    // The area the curve's points lie in.
    const PlotArea& curveArea() const { return savedCurve.area(); }

    bool isOpen() const { return frame != nullptr; }
    bool bitmapsLoaded() const { return controlBitmapsLoaded; }
    Bitmap* background() const { return backgroundBitmap; }
    int savedPointCount() const { return savedCount.load(std::memory_order_relaxed); }
    // The saved points (valid while savedPointCount() is not 0).
    void copySavedPoints(CurvePoint* out) const;
    // The controls while open; none while closed.
    CurveEditor* curveEditor() const { return curve; }
    RotaryKnob* knob(int parameter) const;
    RowSelector* selector(int parameter) const;
    VerticalFader* dryWetFader() const { return fader; }
    PopupPicture* popupPicture() const { return popup; }
    // The control standing for a parameter (1 to 7), or none.
    Control* controlFor(std::int32_t parameter) const;

  private:
    void loadControlBitmaps();
    void releaseControlBitmaps();
    void createControls();
    // Adds a control to the frame; one the frame refuses is destroyed.
    template <typename ControlType> ControlType* attach(ControlType* control);
    // Window thread: the controls take the values of marked parameters.
    void applyParameterChanges();
    // Window thread: a curve loaded while the window was open goes to the
    // curve editor.
    void showLoadedCurve();
    void forgetControls();

    ShaperEffect* shaper;
    Bitmap* backgroundBitmap = nullptr;
    Bitmap* curveMarkerBitmap = nullptr;
    Bitmap* curveBackgroundBitmap = nullptr;
    Bitmap* popupBitmap = nullptr;
    Bitmap* knobBackgroundBitmap = nullptr;
    Bitmap* knobHandleBitmap = nullptr;
    Bitmap* switchBitmap = nullptr;
    Bitmap* faderBackgroundBitmap = nullptr;
    Bitmap* faderHandleBitmap = nullptr;
    std::array<RotaryKnob*, 4> knobs{};
    std::array<RowSelector*, 2> switches{};
    VerticalFader* fader = nullptr;
    PopupPicture* popup = nullptr;
    CurveEditor* curve = nullptr;
    // The curve's points while the window is closed, and a curve loaded
    // while it is open until the window takes it. Written under curveMutex.
    PublishedCurve savedCurve;
    std::atomic<int> savedCount{0};
    // Guards savedCurve's writers, liveCurve and loadPending.
    mutable std::mutex curveMutex;
    // The curve editor while the window is open, for other threads.
    CurveEditor* liveCurve = nullptr;
    // savedCurve holds a loaded curve the open window does not show yet.
    std::atomic<bool> loadPending{false};
    bool controlBitmapsLoaded = false;
    // Read by parameter changes on other threads.
    std::atomic<bool> windowOpen{false};
    // Bit i: parameter i changed since the controls last took the values.
    std::atomic<std::uint32_t> changedParameters{0};
};

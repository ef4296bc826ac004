#include "editor/ShaperEditor.h"

#include "editor/CurveEditor.h"
#include "editor/ShaperLayout.h"
#include "effect/ShaperEffect.h"
#include "gui/Bitmap.h"
#include "gui/Faders.h"
#include "gui/Frame.h"
#include "gui/PopupPicture.h"
#include "gui/RotaryKnob.h"
#include "gui/Selectors.h"

#include <new>

using namespace shaperLayout;

namespace {

Rect anchored(Point anchor, std::int32_t width, std::int32_t height) {
    return {anchor.h, anchor.v, anchor.h + width, anchor.v + height};
}

Bitmap* loadBitmap(std::int32_t id) {
    return new (std::nothrow) Bitmap(id);
}

void releaseBitmap(Bitmap*& bitmap) {
    if (bitmap)
        bitmap->release();
    bitmap = nullptr;
}

PlotArea curvePlotArea() {
    return PlotArea::forPictures(CurveBackgroundSize, CurveBackgroundSize, CurveMarkerSize,
                                 CurveMarkerSize);
}

} // namespace

ShaperEditor::ShaperEditor(ShaperEffect* owner)
    : GuiEditor(owner), shaper(owner), savedCurve(curvePlotArea()) {
    backgroundBitmap = loadBitmap(BackgroundBitmap);
    if (backgroundBitmap) {
        rect.bottom = static_cast<std::int16_t>(backgroundBitmap->height());
        rect.right = static_cast<std::int16_t>(backgroundBitmap->width());
    }
    // Until the window first opens, the curve is the initial straight line.
    if (shaper)
        shaper->attachCurve(&savedCurve);
}

ShaperEditor::~ShaperEditor() {
    // The effect closes an open window before it goes; should a window be
    // left, destroy it without touching the effect, which is already gone.
    windowOpen.store(false, std::memory_order_relaxed);
    delete frame;
    frame = nullptr;
    forgetControls();
    releaseControlBitmaps();
    releaseBitmap(backgroundBitmap);
}

std::int32_t ShaperEditor::openWindow(void* parent) {
    if (frame)
        closeWindow();
    GuiEditor::openWindow(parent);
    const std::int32_t width = backgroundBitmap ? backgroundBitmap->width() : 0;
    const std::int32_t height = backgroundBitmap ? backgroundBitmap->height() : 0;
    frame = new (std::nothrow) Frame({0, 0, width, height}, parent, this);
    if (!frame)
        return 0;
    frame->setBackgroundBitmap(backgroundBitmap);
    if (!controlBitmapsLoaded)
        loadControlBitmaps();
    changedParameters.store(0, std::memory_order_relaxed);
    createControls();
    windowOpen.store(true, std::memory_order_relaxed);
    return 1;
}

void ShaperEditor::closeWindow() {
    if (!frame)
        return;
    windowOpen.store(false, std::memory_order_relaxed);
    {
        std::lock_guard<std::mutex> lock(curveMutex);
        // A curve loaded since the last idle is already in savedCurve.
        if (curve && !loadPending.load(std::memory_order_relaxed)) {
            CurvePoint points[CurveModel::MaxPoints];
            const int count = curve->pointCount();
            curve->copyPoints(points);
            savedCurve.publish(points, count);
            savedCount.store(count, std::memory_order_relaxed);
        }
        loadPending.store(false, std::memory_order_relaxed);
        liveCurve = nullptr;
        // From here on the effect samples the saved points; once attachCurve
        // returns, no table build still reads the curve editor.
        if (shaper)
            shaper->attachCurve(&savedCurve);
    }
    delete frame;
    frame = nullptr;
    forgetControls();
    releaseControlBitmaps();
}

void ShaperEditor::loadControlBitmaps() {
    switchBitmap = loadBitmap(SelectorBitmap);
    curveBackgroundBitmap = loadBitmap(CurveBackgroundBitmap);
    curveMarkerBitmap = loadBitmap(CurveMarkerBitmap);
    knobBackgroundBitmap = loadBitmap(KnobBackgroundBitmap);
    knobHandleBitmap = loadBitmap(KnobHandleBitmap);
    popupBitmap = loadBitmap(PopupBitmap);
    faderBackgroundBitmap = loadBitmap(FaderBackgroundBitmap);
    faderHandleBitmap = loadBitmap(FaderHandleBitmap);
    controlBitmapsLoaded = true;
}

void ShaperEditor::releaseControlBitmaps() {
    if (!controlBitmapsLoaded)
        return;
    releaseBitmap(popupBitmap);
    releaseBitmap(curveMarkerBitmap);
    releaseBitmap(curveBackgroundBitmap);
    releaseBitmap(knobBackgroundBitmap);
    releaseBitmap(knobHandleBitmap);
    releaseBitmap(switchBitmap);
    releaseBitmap(faderBackgroundBitmap);
    releaseBitmap(faderHandleBitmap);
    controlBitmapsLoaded = false;
}

template <typename ControlType> ControlType* ShaperEditor::attach(ControlType* control) {
    if (control && !frame->attachView(control)) {
        delete control;
        return nullptr;
    }
    return control;
}

void ShaperEditor::createControls() {
    if (popupBitmap) {
        const Rect display = anchored(PopupAnchor, popupBitmap->width(), popupBitmap->height());
        popup = attach(new (std::nothrow) PopupPicture(PopupHotSpot, this, PopupTag, popupBitmap,
                                                       display, {0, 0}));
    }

    if (curveBackgroundBitmap && curveMarkerBitmap) {
        const Rect size =
            anchored(CurveAnchor, curveBackgroundBitmap->width(), curveBackgroundBitmap->height());
        auto* editor = new (std::nothrow) CurveEditor(size, this, ShaperParameter::Shaper,
                                                      curveBackgroundBitmap, curveMarkerBitmap);
        std::lock_guard<std::mutex> lock(curveMutex);
        if (editor && savedCount.load(std::memory_order_relaxed) != 0) {
            CurvePoint points[CurveModel::MaxPoints];
            CurveModel saved(savedCurve.area());
            savedCurve.read(saved);
            saved.copyPoints(points);
            editor->restorePoints(points, saved.pointCount());
        }
        curve = attach(editor);
        // Attached once it holds the saved points, so that no build samples
        // the initial line in between.
        if (curve && shaper)
            shaper->attachCurve(curve);
        liveCurve = curve;
        loadPending.store(false, std::memory_order_relaxed);
    }

    if (knobHandleBitmap && knobBackgroundBitmap) {
        for (int i = 0; i < 4; ++i) {
            const std::int32_t tag = ShaperParameter::PreGain + i;
            auto* knob = new (std::nothrow)
                RotaryKnob(anchored(KnobAnchors[i], knobBackgroundBitmap->width(),
                                    knobBackgroundBitmap->height()),
                           this, tag, knobBackgroundBitmap, knobHandleBitmap, {0, 0});
            if (knob && shaper)
                knob->setValue(shaper->parameterValue(tag));
            knobs[i] = attach(knob);
        }
    }

    if (switchBitmap) {
        const std::int32_t pictureHeight = switchBitmap->height() / 2;
        for (int i = 0; i < 2; ++i) {
            const std::int32_t tag = ShaperParameter::PreSwitch + i;
            auto* selector = new (std::nothrow)
                RowSelector(anchored(SelectorAnchors[i], switchBitmap->width(), pictureHeight),
                            this, tag, 2, pictureHeight, 2, switchBitmap, {0, 0});
            if (selector && shaper)
                selector->setValue(shaper->parameterValue(tag));
            switches[i] = attach(selector);
        }
    }

    if (faderHandleBitmap && faderBackgroundBitmap) {
        const std::int32_t maximumPosition =
            faderBackgroundBitmap->height() - faderHandleBitmap->height() + FaderTravelOrigin;
        auto* dryWet = new (std::nothrow) VerticalFader(
            anchored(FaderAnchor, faderBackgroundBitmap->width(), faderBackgroundBitmap->height()),
            this, ShaperParameter::DryWet, FaderMinimumPosition, maximumPosition, faderHandleBitmap,
            faderBackgroundBitmap, {0, 0}, FaderStyle);
        if (dryWet) {
            dryWet->setHandleOffset(FaderHandleOffset);
            if (shaper)
                dryWet->setValue(shaper->parameterValue(ShaperParameter::DryWet));
        }
        fader = attach(dryWet);
    }
}

void ShaperEditor::forgetControls() {
    knobs.fill(nullptr);
    switches.fill(nullptr);
    fader = nullptr;
    popup = nullptr;
    curve = nullptr;
}

int ShaperEditor::copyCurve(CurvePoint* out) const {
    CurveModel model(savedCurve.area());
    {
        std::lock_guard<std::mutex> lock(curveMutex);
        if (liveCurve && !loadPending.load(std::memory_order_relaxed))
            liveCurve->readPublished(model);
        else
            savedCurve.read(model);
    }
    model.copyPoints(out);
    return model.pointCount();
}

void ShaperEditor::loadCurve(const CurvePoint* points, int count) {
    std::lock_guard<std::mutex> lock(curveMutex);
    savedCurve.publish(points, count);
    savedCount.store(savedCurve.pointCount(), std::memory_order_relaxed);
    if (liveCurve) {
        loadPending.store(true, std::memory_order_relaxed);
        scheduleUpdate();
    }
    if (shaper) {
        shaper->prepareTable(savedCurve);
        shaper->rebuildTable();
    }
}

void ShaperEditor::showLoadedCurve() {
    if (!loadPending.load(std::memory_order_relaxed))
        return;
    std::lock_guard<std::mutex> lock(curveMutex);
    if (!loadPending.load(std::memory_order_relaxed) || !curve)
        return;
    CurvePoint points[CurveModel::MaxPoints];
    CurveModel loaded(savedCurve.area());
    savedCurve.read(loaded);
    loaded.copyPoints(points);
    curve->restorePoints(points, loaded.pointCount());
    // Its value never changes: make the next refresh draw it.
    curve->setLastDrawnValue(-1.0f);
    loadPending.store(false, std::memory_order_relaxed);
    // The same table again, from the curve the window now holds, should
    // the user have ended a gesture since the load.
    if (shaper) {
        shaper->curveChanged();
        shaper->rebuildTable();
    }
}

void ShaperEditor::copySavedPoints(CurvePoint* out) const {
    CurveModel saved(savedCurve.area());
    savedCurve.read(saved);
    saved.copyPoints(out);
}

RotaryKnob* ShaperEditor::knob(int parameter) const {
    const int i = parameter - ShaperParameter::PreGain;
    return i >= 0 && i < 4 ? knobs[static_cast<std::size_t>(i)] : nullptr;
}

RowSelector* ShaperEditor::selector(int parameter) const {
    const int i = parameter - ShaperParameter::PreSwitch;
    return i >= 0 && i < 2 ? switches[static_cast<std::size_t>(i)] : nullptr;
}

Control* ShaperEditor::controlFor(std::int32_t parameter) const {
    if (RotaryKnob* k = knob(parameter))
        return k;
    if (RowSelector* s = selector(parameter))
        return s;
    if (parameter == ShaperParameter::DryWet)
        return fader;
    return nullptr;
}

void ShaperEditor::parameterChanged(std::int32_t index, float) {
    if (!windowOpen.load(std::memory_order_relaxed))
        return;
    if (index > ShaperParameter::Shaper && index < ShaperParameter::Count)
        changedParameters.fetch_or(1u << index, std::memory_order_relaxed);
    scheduleUpdate();
}

void ShaperEditor::applyParameterChanges() {
    std::uint32_t changed = changedParameters.exchange(0, std::memory_order_relaxed);
    if (!frame || !shaper)
        return;
    for (std::int32_t index = ShaperParameter::PreGain; changed != 0; ++index) {
        if (changed & (1u << index)) {
            changed &= ~(1u << index);
            // The control always shows what the effect holds.
            if (Control* control = controlFor(index))
                control->setValue(shaper->parameterValue(index));
        }
    }
}

void ShaperEditor::onIdle() {
    showLoadedCurve();
    applyParameterChanges();
    GuiEditor::onIdle();
}

void ShaperEditor::controlChanged(DrawContext& context, Control* control) {
    if (!control)
        return;
    const std::int32_t tag = control->tag();
    if (tag < 0 || tag >= ShaperParameter::Count)
        return;
    if (shaper) {
        // A gesture on the curve ends here: its table is built on this
        // thread, so that setting parameter 0 only has to put it in use.
        if (tag == ShaperParameter::Shaper)
            shaper->curveChanged();
        shaper->setParameterAndNotify(tag, control->value());
    }
    // On the window's thread the control takes the effect's value at once.
    applyParameterChanges();
    control->refresh(context);
}

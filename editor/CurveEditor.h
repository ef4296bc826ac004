#pragma once
// CurveEditor: the editor's control for parameter 0, "Shaper". It shows the
// transfer curve over its background picture and lets the user shape it: a
// left press on empty space adds a point, a drag moves the point under the
// pointer, a right click deletes an inner point. Each press ends with one
// report to the listener, with the value 0.
//
// The points live in a CurveModel that only the window's thread touches;
// after every change they are published for sampleCurve, which the effect
// may call from the host's thread at any time.

#include "editor/CurveModel.h"
#include "editor/PublishedCurve.h"
#include "effect/CurveSource.h"
#include "gui/Control.h"

#include <array>
#include <cstdint>
#include <memory>

class Bitmap;
class OffscreenContext;

class CurveEditor : public Control, public CurveSource {
  public:
    static constexpr int SampleCount = 200; // points of the drawn B-spline

    // The bitmaps are not retained: the editor holds them for as long as
    // the curve editor exists.
    CurveEditor(const Rect& size, ControlListener* listener, std::int32_t tag, Bitmap* background,
                Bitmap* marker);
    ~CurveEditor() override;

    // Composes the picture on the first draw and after changes of the
    // points; every draw is one copy of it.
    void draw(DrawContext& context) override;
    // Follows the pointer until the buttons are released, then tells the
    // listener once.
    void mouseDown(DrawContext& context, Point where) override;
    // Always 0: a change tells the effect to sample the curve again.
    float value() const override { return 0.0f; }

    // The three gestures, in frame coordinates. See CurveModel for the rules.
    bool press(Point where);
    bool drag(Point where);
    bool remove(Point where);

    int pointCount() const { return curve.pointCount(); }
    void copyPoints(CurvePoint* out) const { curve.copyPoints(out); }
    // Before the first draw; the picture is composed from these points.
    void restorePoints(const CurvePoint* points, int count);
    const CurveModel& model() const { return curve; }
    Point origin() const { return topLeft; }

    // Any thread: samples the last published points.
    void sampleCurve(float* values, std::int32_t n) override { published.sampleCurve(values, n); }
    std::uint64_t revision() const override { return published.revision(); }
    // Any thread: a consistent copy of the last published points.
    void readPublished(CurveModel& out) const { published.read(out); }

  private:
    CurvePoint toCurve(Point where) const;
    // Press, drag or delete as the buttons say; true when the gesture ended
    // with every button released.
    bool trackGesture(DrawContext& context);
    // Redraws background, curve and markers into the surface, if it exists.
    void rebuildSurface();
    void drawBezier();
    void drawSpline();
    void changed();

    Bitmap* backgroundBitmap;
    Bitmap* markerBitmap;
    Point topLeft; // frame coordinates minus this give curve coordinates
    CurveModel curve;
    std::array<CurvePoint, SampleCount> samples{};
    bool surfaceStale = true;
    std::unique_ptr<OffscreenContext> surface;
    Rect drawRect;
    PublishedCurve published;
};

#include "editor/CurveEditor.h"

#include "gui/Bitmap.h"
#include "gui/OffscreenContext.h"

namespace {

PlotArea plotAreaFor(const Bitmap* background, const Bitmap* marker) {
    return PlotArea::forPictures(background ? background->width() : 0,
                                 background ? background->height() : 0,
                                 marker ? marker->width() : 0, marker ? marker->height() : 0);
}

Point truncated(const CurvePoint& p) {
    return {static_cast<std::int32_t>(p.x), static_cast<std::int32_t>(p.y)};
}

} // namespace

CurveEditor::CurveEditor(const Rect& size, ControlListener* listener, std::int32_t tag,
                         Bitmap* background, Bitmap* marker)
    : Control(size, listener, tag), backgroundBitmap(background),
      markerBitmap(marker), topLeft{size.left, size.top}, curve(plotAreaFor(background, marker)),
      drawRect(size), published(curve.area()) {}

CurveEditor::~CurveEditor() = default;

CurvePoint CurveEditor::toCurve(Point where) const {
    return {static_cast<float>(where.h - topLeft.h), static_cast<float>(where.v - topLeft.v)};
}

bool CurveEditor::press(Point where) {
    if (where.h < size.left || where.h > size.right || where.v < size.top ||
        where.v > size.bottom) {
        return false;
    }
    const int before = curve.pointCount();
    const CurvePoint p = toCurve(where);
    if (!curve.press(p.x, p.y))
        return false;
    if (curve.pointCount() != before)
        changed();
    return true;
}

bool CurveEditor::drag(Point where) {
    const CurvePoint p = toCurve(where);
    if (!curve.drag(p.x, p.y))
        return false;
    changed();
    return true;
}

bool CurveEditor::remove(Point where) {
    const int before = curve.pointCount();
    const CurvePoint p = toCurve(where);
    if (!curve.remove(p.x, p.y))
        return false;
    if (curve.pointCount() != before)
        changed();
    return true;
}

void CurveEditor::restorePoints(const CurvePoint* points, int count) {
    curve.restorePoints(points, count);
    changed();
}

void CurveEditor::changed() {
    published.publish(curve);
    rebuildSurface();
}

void CurveEditor::draw(DrawContext& context) {
    if (surfaceStale) {
        surface = std::make_unique<OffscreenContext>(context, backgroundBitmap);
        surfaceStale = false;
        rebuildSurface();
    }
    surface->blitTo(context, drawRect, {0, 0});
    lastDrawn = value();
}

void CurveEditor::mouseDown(DrawContext& context, Point) {
    if (trackGesture(context))
        curve.clearSelection();
    if (controlListener)
        controlListener->controlChanged(context, this);
}

bool CurveEditor::trackGesture(DrawContext& context) {
    Point position;
    context.queryMousePosition(position);
    if (context.queryMouseButtons() & MouseLeft) {
        if (!press(position))
            return false;
        draw(context);
    }
    bool released = false;
    // The gesture goes on until nothing is held any more; the right button
    // ends it by deleting the point under the pointer as last read.
    const auto keepTracking = [&](MouseButtons held) {
        if (held == 0) {
            released = true;
            return false;
        }
        if (held & MouseRight) {
            if (remove(position))
                draw(context);
            return false;
        }
        return true;
    };
    const MouseButtons held = context.queryMouseButtons();
    if (keepTracking(held)) {
        trackMouse(context, position, held, NoValue{}, keepTracking, [&](Point mouse) {
            position = mouse;
            if (!drag(position))
                return false;
            draw(context);
            return true;
        });
    }
    return released;
}

void CurveEditor::rebuildSurface() {
    if (!surface)
        return;
    if (backgroundBitmap) {
        backgroundBitmap->blit(
            *surface, {0, 0, backgroundBitmap->width(), backgroundBitmap->height()}, {0, 0});
    }
    if (curve.isSpline())
        drawSpline();
    else
        drawBezier();
    if (!markerBitmap)
        return;
    const std::int32_t w = markerBitmap->width();
    const std::int32_t h = markerBitmap->height();
    for (int i = 0; i < curve.pointCount(); ++i) {
        const CurvePoint& p = curve.point(i);
        const auto left = static_cast<std::int32_t>(p.x - static_cast<float>(w) * 0.5f);
        const auto top = static_cast<std::int32_t>(p.y - static_cast<float>(h) * 0.5f);
        markerBitmap->blitMasked(*surface, {left, top, left + w, top + h}, {0, 0});
    }
}

void CurveEditor::drawBezier() {
    const float step = 1.0f / static_cast<float>(SampleCount);
    CurvePoint previous = curve.bezierAt(0.0f);
    for (float t = step; t <= 1.0f; t += step) {
        const CurvePoint current = curve.bezierAt(t);
        surface->penTo(truncated(previous));
        surface->strokeTo(truncated(current));
        previous = current;
    }
    surface->penTo(truncated(previous));
    surface->strokeTo(truncated(curve.bezierAt(1.0f)));
}

void CurveEditor::drawSpline() {
    const float step = static_cast<float>(curve.splineEnd()) / static_cast<float>(SampleCount - 1);
    float u = 0.0f;
    for (int j = 0; j < SampleCount - 1; ++j, u += step)
        samples[j] = curve.splineAt(u);
    samples[SampleCount - 1] = curve.point(curve.pointCount() - 1);
    surface->penTo(truncated(samples[0]));
    for (int j = 1; j < SampleCount; ++j) {
        surface->strokeTo(truncated(samples[j]));
        surface->penTo(truncated(samples[j]));
    }
}

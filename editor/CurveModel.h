#pragma once
// The points of the shaper's transfer curve and the curve through them: a
// Bézier curve below four points, a clamped uniform cubic B-spline from four
// on. Coordinates are float pixels of the curve editor (x to the right, y
// downwards); a smaller y means a larger output. Nothing here draws, so the
// effect can sample a curve while no editor window exists.

#include "effect/CurveSource.h"

#include <array>
#include <cstdint>

// The plotting area: points live in minX..maxX, minY..maxY (edges included).
struct PlotArea {
    float minX, minY, maxX, maxY;

    // The area that keeps a marker of the given size, and a 4-pixel margin,
    // inside a background of the given size.
    static PlotArea forPictures(int backgroundWidth, int backgroundHeight, int markerWidth,
                                int markerHeight);
    bool contains(float x, float y) const {
        return !(x > maxX || x < minX || y > maxY || y < minY);
    }
};

class CurveModel {
  public:
    static constexpr int MaxPoints = 50;
    static constexpr int SplineOrder = 4;
    // Closer than this (squared distance in pixels) picks a point.
    static constexpr float PickDistanceSquared = 25.0f;

    // A straight rising line from the bottom left to the top right corner.
    explicit CurveModel(const PlotArea& area);

    const PlotArea& area() const { return plot; }
    int pointCount() const { return count; }
    const CurvePoint& point(int index) const { return points[index]; }
    int selectedPoint() const { return selected; }
    void clearSelection() { selected = -1; }
    bool isSpline() const { return count >= SplineOrder; }

    void copyPoints(CurvePoint* out) const;
    // Takes n points (clamped to 2..50) in the order given.
    void restorePoints(const CurvePoint* source, int n);

    // A left press at (x, y): selects the first point closer than 5 pixels,
    // otherwise adds a point when inside the plotting area and there is room.
    // Returns false when the press does nothing (outside the area, no point).
    bool press(float x, float y);
    // Moves the selected point; the first and last points move only
    // vertically and inner points never reach their neighbours.
    bool drag(float x, float y);
    // A right click: deletes the inner point under (x, y), if any.
    bool remove(float x, float y);

    // Bézier point at t (2 or 3 points), by de Casteljau's construction.
    CurvePoint bezierAt(float t) const;
    // B-spline point at parameter u in [0, splineEnd()); zero at and beyond
    // the end of the knot range.
    CurvePoint splineAt(double u) const;
    double splineEnd() const { return count - 1 - SplineOrder + 2; }
    // Straightforward Cox–de Boor sum over every basis function: the
    // reference the fast evaluation is checked against.
    CurvePoint splineAtByFullRecursion(double u) const;

    // Output heights (0 at the bottom, 1 at the top of the plotting area) for
    // n inputs evenly spaced from the first point's x, in steps of
    // (last x − first x) / n.
    void sampleCurve(float* values, std::int32_t n) const;

  private:
    float bezierHeightAt(float x, float& lastParameter) const;
    float splineHeightAt(float x, double& lastParameter) const;

    PlotArea plot;
    std::array<CurvePoint, MaxPoints> points{};
    int count = 2;
    int selected = -1;
};

// Filled and outlined shapes: rectangles, polygons, ellipses, arcs, pies
// and single pixels.

#include "platform/Diagnostics.h"
#include "platform/raster/Objects.h"
#include "platform/raster/PenStroke.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace platform {
namespace {

using raster::plot;

constexpr double fullTurn = 2.0 * std::numbers::pi;

void fillSpan(PixelMap* target, std::int32_t y, std::int32_t fromX, std::int32_t toX,
              ColorWord color) {
    for (std::int32_t x = fromX; x < toX; ++x)
        plot(target, x, y, color);
}

// The ellipse inscribed in a box, in pixel-centre coordinates: the centre
// lies half way between the first and the last pixel of each axis.
struct EllipseGeometry {
    double centreX, centreY;
    double halfWidth, halfHeight; // of the box: the filled region's radii
    explicit EllipseGeometry(const IntRect& box)
        : centreX((box.left + box.right - 1) / 2.0), centreY((box.top + box.bottom - 1) / 2.0),
          halfWidth((box.right - box.left) / 2.0), halfHeight((box.bottom - box.top) / 2.0) {}

    bool inside(std::int32_t x, std::int32_t y) const {
        const double nx = (x - centreX) / halfWidth;
        const double ny = (y - centreY) / halfHeight;
        return nx * nx + ny * ny <= 1.0;
    }
    // Angle on the screen, counter-clockwise from the right (y grows down).
    double angleOf(double x, double y) const { return std::atan2(centreY - y, x - centreX); }
};

IntRect normalised(const IntRect& box) {
    return {std::min(box.left, box.right), std::min(box.top, box.bottom),
            std::max(box.left, box.right), std::max(box.top, box.bottom)};
}

// The sweep from the start ray counter-clockwise to the end ray; equal rays
// sweep the whole turn.
struct Sweep {
    double start;
    double span;
    Sweep(const EllipseGeometry& e, IntPoint from, IntPoint to) {
        start = e.angleOf(from.x, from.y);
        span = std::remainder(e.angleOf(to.x, to.y) - start, fullTurn);
        if (span <= 1e-9)
            span += fullTurn;
    }
    double offset(double angle) const {
        double d = std::fmod(angle - start, fullTurn);
        if (d < 0)
            d += fullTurn;
        return d;
    }
    bool covers(double angle) const {
        const double d = offset(angle);
        return d <= span + 1e-9 || d >= fullTurn - 1e-9;
    }
};

// The one-pixel outline of the ellipse whose extreme pixels touch the box's
// first and last pixels on each axis, as an 8-connected set of pixels.
std::vector<IntPoint> ellipseOutline(const IntRect& box) {
    std::vector<IntPoint> points;
    const double cx = (box.left + box.right - 1) / 2.0;
    const double cy = (box.top + box.bottom - 1) / 2.0;
    const double rx = (box.right - box.left - 1) / 2.0;
    const double ry = (box.bottom - box.top - 1) / 2.0;
    auto lower = [](double v) { return static_cast<std::int32_t>(std::ceil(v - 0.5)); };
    auto upper = [](double v) { return static_cast<std::int32_t>(std::floor(v + 0.5)); };
    if (rx <= 0.0 || ry <= 0.0) {
        for (std::int32_t y = box.top; y < box.bottom; ++y)
            for (std::int32_t x = box.left; x < box.right; ++x)
                points.push_back({x, y});
        return points;
    }
    for (std::int32_t x = box.left; x < box.right; ++x) {
        const double n = (x - cx) / rx;
        const double dy = ry * std::sqrt(std::max(0.0, 1.0 - n * n));
        points.push_back({x, lower(cy - dy)});
        points.push_back({x, upper(cy + dy)});
    }
    for (std::int32_t y = box.top; y < box.bottom; ++y) {
        const double n = (y - cy) / ry;
        const double dx = rx * std::sqrt(std::max(0.0, 1.0 - n * n));
        points.push_back({lower(cx - dx), y});
        points.push_back({upper(cx + dx), y});
    }
    std::sort(points.begin(), points.end(),
              [](IntPoint a, IntPoint b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
    points.erase(std::unique(points.begin(), points.end(),
                             [](IntPoint a, IntPoint b) { return a.x == b.x && a.y == b.y; }),
                 points.end());
    return points;
}

// Strokes the part of the outline inside the sweep, in counter-clockwise
// order so that a dotted pen's pattern runs along the curve.
void strokeOutline(DeviceContext* context, const IntRect& box, const Sweep& sweep) {
    if (context->pen->style == PenStyle::Null)
        return;
    const EllipseGeometry geometry(box);
    std::vector<std::pair<double, IntPoint>> ordered;
    for (IntPoint p : ellipseOutline(box)) {
        const double angle = geometry.angleOf(p.x, p.y);
        if (sweep.covers(angle))
            ordered.push_back({sweep.offset(angle), p});
    }
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::int32_t phase = 0;
    raster::PenStroke stroke(context, phase);
    for (const auto& entry : ordered)
        stroke.stamp(entry.second.x, entry.second.y);
}

// Fills the inscribed ellipse with the brush, limited to a sweep if given.
void fillEllipse(DeviceContext* context, const IntRect& box, const Sweep* sweep) {
    const EllipseGeometry geometry(box);
    const ColorWord color = context->brush->color;
    for (std::int32_t y = box.top; y < box.bottom; ++y)
        for (std::int32_t x = box.left; x < box.right; ++x)
            if (geometry.inside(x, y) && (!sweep || sweep->covers(geometry.angleOf(x, y))))
                plot(context->target, x, y, color);
}

IntPoint rayPoint(const EllipseGeometry& e, IntPoint through) {
    // Where the ray from the centre through `through` meets the ellipse.
    const double angle = e.angleOf(through.x, through.y);
    const double rx = e.halfWidth - 0.5;
    const double ry = e.halfHeight - 0.5;
    return {static_cast<std::int32_t>(std::lround(e.centreX + std::cos(angle) * rx)),
            static_cast<std::int32_t>(std::lround(e.centreY - std::sin(angle) * ry))};
}

} // namespace

bool fillRect(DeviceContext* context, const IntRect& rect, Brush* brush) {
    if (!context || !brush)
        return false;
    for (std::int32_t y = rect.top; y < rect.bottom; ++y)
        fillSpan(context->target, y, rect.left, rect.right, brush->color);
    return true;
}

bool polygon(DeviceContext* context, const IntPoint* points, std::int32_t count) {
    if (!context || !points || count < 2)
        return false;
    // Scanline fill with the alternate rule; a pixel is filled when its
    // corner point lies inside, so right and bottom edges stay out.
    std::int32_t top = points[0].y;
    std::int32_t bottom = points[0].y;
    for (std::int32_t i = 1; i < count; ++i) {
        top = std::min(top, points[i].y);
        bottom = std::max(bottom, points[i].y);
    }
    std::vector<double> crossings;
    for (std::int32_t y = top; y < bottom; ++y) {
        crossings.clear();
        for (std::int32_t i = 0; i < count; ++i) {
            const IntPoint a = points[i];
            const IntPoint b = points[(i + 1) % count];
            if (a.y == b.y)
                continue;
            const bool downward = a.y < b.y;
            const IntPoint upperEnd = downward ? a : b;
            const IntPoint lowerEnd = downward ? b : a;
            if (y < upperEnd.y || y >= lowerEnd.y)
                continue;
            crossings.push_back(upperEnd.x + static_cast<double>(y - upperEnd.y) *
                                                 (lowerEnd.x - upperEnd.x) /
                                                 (lowerEnd.y - upperEnd.y));
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2)
            fillSpan(context->target, y, static_cast<std::int32_t>(std::ceil(crossings[i])),
                     static_cast<std::int32_t>(std::ceil(crossings[i + 1])), context->brush->color);
    }
    if (context->pen->style != PenStyle::Null) {
        std::int32_t phase = 0;
        raster::PenStroke stroke(context, phase);
        for (std::int32_t i = 0; i < count; ++i)
            stroke.line(points[i], points[(i + 1) % count]);
    }
    return true;
}

bool arc(DeviceContext* context, const IntRect& box, IntPoint start, IntPoint end) {
    if (!context)
        return false;
    const IntRect b = normalised(box);
    if (b.right <= b.left || b.bottom <= b.top)
        return false;
    strokeOutline(context, b, Sweep(EllipseGeometry(b), start, end));
    return true;
}

bool ellipse(DeviceContext* context, const IntRect& box) {
    if (!context)
        return false;
    const IntRect b = normalised(box);
    if (b.right <= b.left || b.bottom <= b.top)
        return false;
    fillEllipse(context, b, nullptr);
    const IntPoint top{b.left + (b.right - b.left) / 2, b.top};
    strokeOutline(context, b, Sweep(EllipseGeometry(b), top, top));
    return true;
}

bool pie(DeviceContext* context, const IntRect& box, IntPoint start, IntPoint end) {
    if (!context)
        return false;
    const IntRect b = normalised(box);
    if (b.right <= b.left || b.bottom <= b.top)
        return false;
    const EllipseGeometry geometry(b);
    const Sweep sweep(geometry, start, end);
    fillEllipse(context, b, &sweep);
    if (context->pen->style != PenStyle::Null) {
        strokeOutline(context, b, sweep);
        const IntPoint centre{static_cast<std::int32_t>(std::lround(geometry.centreX)),
                              static_cast<std::int32_t>(std::lround(geometry.centreY))};
        std::int32_t phase = 0;
        raster::PenStroke stroke(context, phase);
        stroke.line(rayPoint(geometry, start), centre);
        stroke.line(centre, rayPoint(geometry, end));
    }
    return true;
}

ColorWord setPixel(DeviceContext* context, std::int32_t x, std::int32_t y, ColorWord color) {
    if (!context || x < 0 || y < 0 || x >= context->target->width || y >= context->target->height)
        return 0xFFFFFFFF;
    plot(context->target, x, y, color);
    return raster::readPixel(context->target, x, y);
}

ColorWord pixel(DeviceContext* context, std::int32_t x, std::int32_t y) {
    if (!context || x < 0 || y < 0 || x >= context->target->width || y >= context->target->height)
        return 0xFFFFFFFF;
    return raster::readPixel(context->target, x, y);
}

} // namespace platform

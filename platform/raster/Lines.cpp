// Lines with the pen: moveTo, lineTo, polyline, and the pixel rules of
// one-pixel, dotted and wide pens.

#include "platform/raster/Objects.h"
#include "platform/raster/PenStroke.h"

#include <cstdlib>

namespace platform::raster {

namespace {
// The dotted pen: three pixels on, three off, continued along a path.
constexpr std::int32_t dotRun = 3;
} // namespace

PenStroke::PenStroke(DeviceContext* context, std::int32_t& phase)
    : context(context), pen(context->pen), phase(phase) {
    const std::int32_t width = pen->width;
    if (width > 1) {
        const double centre = (width - 1) / 2.0;
        const double radius = width / 2.0;
        for (std::int32_t j = 0; j < width; ++j)
            for (std::int32_t i = 0; i < width; ++i) {
                const double dx = i - centre;
                const double dy = j - centre;
                if (dx * dx + dy * dy <= radius * radius + 0.25)
                    disc.push_back({i - (width - 1) / 2, j - (width - 1) / 2});
            }
    }
}

void PenStroke::stamp(std::int32_t x, std::int32_t y) {
    if (pen->style == PenStyle::Null)
        return;
    PixelMap* target = context->target;
    if (pen->width > 1) {
        for (const IntPoint& offset : disc)
            plot(target, x + offset.x, y + offset.y, pen->color);
        return;
    }
    if (pen->style == PenStyle::Dot) {
        const bool on = (phase / dotRun) % 2 == 0;
        phase = (phase + 1) % (2 * dotRun);
        if (on)
            plot(target, x, y, pen->color);
        else if (context->backgroundMode == BackgroundMode::Opaque)
            plot(target, x, y, context->backgroundColor);
        return;
    }
    plot(target, x, y, pen->color);
}

void PenStroke::line(IntPoint from, IntPoint to) {
    // Bresenham from `from` towards `to`; the end pixel belongs to the next
    // segment, so it is left out.
    const std::int32_t dx = std::abs(to.x - from.x);
    const std::int32_t dy = -std::abs(to.y - from.y);
    const std::int32_t sx = from.x < to.x ? 1 : -1;
    const std::int32_t sy = from.y < to.y ? 1 : -1;
    std::int32_t error = dx + dy;
    std::int32_t x = from.x;
    std::int32_t y = from.y;
    while (x != to.x || y != to.y) {
        stamp(x, y);
        const std::int32_t doubled = 2 * error;
        if (doubled >= dy) {
            error += dy;
            x += sx;
        }
        if (doubled <= dx) {
            error += dx;
            y += sy;
        }
    }
    // A wide pen has round ends: its end point is covered as well.
    if (pen->width > 1)
        stamp(to.x, to.y);
}

} // namespace platform::raster

namespace platform {

bool moveTo(DeviceContext* context, std::int32_t x, std::int32_t y) {
    if (!context)
        return false;
    context->position = {x, y};
    context->dotPhase = 0;
    return true;
}

bool lineTo(DeviceContext* context, std::int32_t x, std::int32_t y) {
    if (!context)
        return false;
    raster::PenStroke stroke(context, context->dotPhase);
    stroke.line(context->position, {x, y});
    context->position = {x, y};
    return true;
}

bool polyline(DeviceContext* context, const IntPoint* points, std::int32_t count) {
    if (!context || !points || count < 2)
        return false;
    std::int32_t phase = 0;
    raster::PenStroke stroke(context, phase);
    for (std::int32_t i = 1; i < count; ++i)
        stroke.line(points[i - 1], points[i]);
    return true;
}

} // namespace platform

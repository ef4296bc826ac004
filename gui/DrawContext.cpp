#include "gui/DrawContext.h"

#include "platform/Drawing.h"
#include "platform/Input.h"
#include "platform/Windowing.h"

#include <cstring>
#include <vector>

namespace {

platform::IntRect platformRect(const Rect& r) {
    return {r.left, r.top, r.right, r.bottom};
}
platform::IntPoint platformPoint(Point p) {
    return {p.h, p.v};
}

std::vector<platform::IntPoint> platformPoints(const Point* points, std::int32_t count) {
    std::vector<platform::IntPoint> converted;
    if (points && count > 0)
        for (std::int32_t i = 0; i < count; ++i)
            converted.push_back(platformPoint(points[i]));
    return converted;
}

} // namespace

DrawContext::DrawContext(Frame* frame, platform::DeviceContext* systemContext,
                         platform::Window* window)
    : systemContext(systemContext), window(window), ownerFrame(frame) {
    if (!systemContext)
        return;
    savedBrush = platform::currentBrush(systemContext);
    savedPen = platform::currentPen(systemContext);
    savedFont = platform::currentFont(systemContext);
    platform::setBackgroundMode(systemContext, platform::BackgroundMode::Transparent);
    setPenColor(colors::white);
    setPenStyle(0);
    setPenWidth(1);
    setPaintColor(colors::black);
    setInkColor(colors::white);
}

DrawContext::~DrawContext() {
    if (systemContext) {
        if (savedBrush)
            platform::selectBrush(systemContext, savedBrush);
        if (savedPen)
            platform::selectPen(systemContext, savedPen);
        if (savedFont)
            platform::selectFont(systemContext, savedFont);
    }
    if (createdBrush)
        platform::deleteBrush(createdBrush);
    if (createdPen)
        platform::deletePen(createdPen);
    if (createdFont)
        platform::deleteFont(createdFont);
}

void DrawContext::rebuildPen() {
    platform::Pen* next =
        platform::createPen(platformPenStyle, currentPenWidth, pen.platformColor());
    if (!next)
        return;
    platform::selectPen(systemContext, next);
    if (createdPen)
        platform::deletePen(createdPen);
    createdPen = next;
}

void DrawContext::setPenColor(Color color) {
    pen = color;
    rebuildPen();
}

void DrawContext::setPenWidth(std::int32_t width) {
    currentPenWidth = width;
    rebuildPen();
}

void DrawContext::setPenStyle(std::int32_t style) {
    currentPenStyle = style;
    platformPenStyle = style == 1 ? platform::PenStyle::Dot : platform::PenStyle::Solid;
    rebuildPen();
}

void DrawContext::setPaintColor(Color color) {
    paint = color;
    platform::setBackgroundColor(systemContext, color.platformColor());
    // If no brush can be made, the previous one stays in use.
    platform::Brush* next = platform::createSolidBrush(color.platformColor());
    if (!next)
        return;
    platform::selectBrush(systemContext, next);
    if (createdBrush)
        platform::deleteBrush(createdBrush);
    createdBrush = next;
}

void DrawContext::setInkColor(Color color) {
    ink = color;
    platform::setTextColor(systemContext, color.platformColor());
}

void DrawContext::selectFont(FontId id, std::int32_t size) {
    currentFontSize = effectiveFontSize(id, size);
    platform::Font* next = platform::createFont(describeFont(id, size));
    if (!next)
        return;
    platform::selectFont(systemContext, next);
    if (createdFont)
        platform::deleteFont(createdFont);
    createdFont = next;
}

void DrawContext::penTo(Point p) {
    platform::moveTo(systemContext, p.h, p.v);
}

void DrawContext::strokeTo(Point p) {
    platform::lineTo(systemContext, p.h, p.v);
}

void DrawContext::strokePolyline(const Point* points, std::int32_t count) {
    const auto converted = platformPoints(points, count);
    platform::polyline(systemContext, converted.data(),
                       static_cast<std::int32_t>(converted.size()));
}

void DrawContext::paintPolygon(const Point* points, std::int32_t count) {
    const auto converted = platformPoints(points, count);
    platform::Pen* previous = platform::selectPen(systemContext, platform::stockNullPen());
    platform::polygon(systemContext, converted.data(), static_cast<std::int32_t>(converted.size()));
    if (previous)
        platform::selectPen(systemContext, previous);
}

void DrawContext::strokeRect(const Rect& r) {
    platform::moveTo(systemContext, r.left, r.top);
    platform::lineTo(systemContext, r.right, r.top);
    platform::lineTo(systemContext, r.right, r.bottom);
    platform::lineTo(systemContext, r.left, r.bottom);
    platform::lineTo(systemContext, r.left, r.top);
}

void DrawContext::paintRect(const Rect& r) {
    platform::Pen* previous = platform::selectPen(systemContext, platform::stockNullPen());
    platform::fillRect(systemContext, {r.left + 1, r.top + 1, r.right, r.bottom},
                       platform::currentBrush(systemContext));
    if (previous)
        platform::selectPen(systemContext, previous);
}

void DrawContext::strokeEllipse(const Rect& r) {
    const platform::IntPoint top{r.left + r.width() / 2, r.top};
    platform::arc(systemContext, {r.left, r.top, r.right + 1, r.bottom + 1}, top, top);
}

void DrawContext::paintEllipse(const Rect& r) {
    platform::Pen* previous = platform::selectPen(systemContext, platform::stockNullPen());
    platform::ellipse(systemContext, {r.left + 1, r.top + 1, r.right, r.bottom});
    if (previous)
        platform::selectPen(systemContext, previous);
}

void DrawContext::strokeArc(const Rect& r, Point start, Point end) {
    platform::arc(systemContext, {r.left, r.top, r.right + 1, r.bottom + 1}, platformPoint(start),
                  platformPoint(end));
}

void DrawContext::paintPie(const Rect& r, Point start, Point end) {
    platform::Pen* previous = platform::selectPen(systemContext, platform::stockNullPen());
    platform::pie(systemContext, {r.left + 1, r.top + 1, r.right, r.bottom}, platformPoint(start),
                  platformPoint(end));
    if (previous)
        platform::selectPen(systemContext, previous);
}

void DrawContext::setPixelColor(Point p, Color color) {
    platform::setPixel(systemContext, p.h, p.v, color.platformColor());
}

void DrawContext::drawText(const char* text, const Rect& r, std::int16_t opaque, TextAlign align) {
    if (!text)
        return;
    if (opaque)
        platform::setBackgroundMode(systemContext, platform::BackgroundMode::Opaque);
    platform::IntRect box = platformRect(r);
    std::uint32_t format = platform::TextVerticalCenter | platform::TextSingleLine;
    if (align == AlignCenter) {
        format |= platform::TextCenter;
    } else if (align == AlignRight) {
        format |= platform::TextRight;
    } else {
        format |= platform::TextLeft;
        box.left += 1;
    }
    platform::drawText(systemContext, text, static_cast<std::int32_t>(std::strlen(text)), box,
                       format);
    platform::setBackgroundMode(systemContext, platform::BackgroundMode::Transparent);
}

MouseButtons DrawContext::queryMouseButtons() const {
    MouseButtons buttons = 0;
    if (platform::isKeyDown(platform::Key::LeftButton))
        buttons |= MouseLeft;
    if (platform::isKeyDown(platform::Key::MiddleButton))
        buttons |= MouseMiddle;
    if (platform::isKeyDown(platform::Key::RightButton))
        buttons |= MouseRight;
    if (platform::isKeyDown(platform::Key::Shift))
        buttons |= MouseShift;
    if (platform::isKeyDown(platform::Key::Control))
        buttons |= MouseControl;
    if (platform::isKeyDown(platform::Key::Alt))
        buttons |= MouseAlt;
    return buttons;
}

void DrawContext::queryMousePosition(Point& where) const {
    platform::IntPoint p;
    platform::cursorPosition(p);
    platform::mapWindowPoints(nullptr, window, &p, 1);
    where = {p.x, p.y};
}

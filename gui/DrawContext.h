#pragma once
// A drawing context: one platform device context together with the drawing
// state the toolkit keeps for it (pen, paint, ink, font). Made for one
// paint, one mouse press or one idle refresh and destroyed right after;
// whatever it created dies with it, and the device context gets back the
// objects it held before.

#include "gui/Color.h"
#include "gui/Fonts.h"
#include "gui/Geometry.h"
#include "gui/MouseButtons.h"
#include "gui/TextAlign.h"
#include "platform/Types.h"

#include <cstdint>

class Frame;

class DrawContext {
  public:
    // With a device context, records the objects selected in it, makes the
    // background of text transparent and applies a white solid pen of width
    // 1, black paint and white ink. Without one, nothing is applied.
    DrawContext(Frame* frame, platform::DeviceContext* systemContext, platform::Window* window);
    DrawContext(const DrawContext&) = delete;
    DrawContext& operator=(const DrawContext&) = delete;
    virtual ~DrawContext();

    void setPenColor(Color color);
    void setPenWidth(std::int32_t width);
    // 1 is dotted; every other value is solid.
    void setPenStyle(std::int32_t style);
    // Fill colour of shapes and background of opaque text.
    void setPaintColor(Color color);
    // Colour of text.
    void setInkColor(Color color);
    // A row of the font table at `size` pixels, or at the row's default
    // size for 0. A new platform font is made on every call.
    void selectFont(FontId id, std::int32_t size = 0);

    void penTo(Point p);
    // A line to `p`, which becomes the current position; the end pixel
    // is not drawn.
    void strokeTo(Point p);
    void strokePolyline(const Point* points, std::int32_t count);
    // Fills with the paint colour, without an outline.
    void paintPolygon(const Point* points, std::int32_t count);
    void strokeRect(const Rect& r);
    void paintRect(const Rect& r);
    void strokeEllipse(const Rect& r);
    void paintEllipse(const Rect& r);
    // Counter-clockwise from the ray through `start` to the ray through `end`.
    void strokeArc(const Rect& r, Point start, Point end);
    void paintPie(const Rect& r, Point start, Point end);
    void setPixelColor(Point p, Color color);
    // One line of text, vertically centred in `r`. Non-zero `opaque` puts
    // the paint colour behind the text.
    void drawText(const char* text, const Rect& r, std::int16_t opaque = 0,
                  TextAlign align = AlignCenter);

    MouseButtons queryMouseButtons() const;
    // The pointer in the client coordinates of the context's window.
    void queryMousePosition(Point& where) const;

    platform::DeviceContext* platformContext() const { return systemContext; }
    Frame* frame() const { return ownerFrame; }
    std::int32_t fontSize() const { return currentFontSize; }
    Color inkColor() const { return ink; }
    Color penColor() const { return pen; }
    Color paintColor() const { return paint; }
    std::int32_t penWidth() const { return currentPenWidth; }
    std::int32_t penStyle() const { return currentPenStyle; }

  protected:
    void rebuildPen();

    platform::DeviceContext* systemContext;
    platform::Window* window;
    Frame* ownerFrame;
    std::int32_t currentFontSize = 0;
    Color ink = colors::white;
    std::int32_t currentPenWidth = 1;
    Color pen = colors::white;
    Color paint = colors::black;
    std::int32_t currentPenStyle = 0;
    platform::Brush* createdBrush = nullptr;
    platform::Pen* createdPen = nullptr;
    platform::Font* createdFont = nullptr;
    platform::Brush* savedBrush = nullptr;
    platform::Pen* savedPen = nullptr;
    platform::Font* savedFont = nullptr;
    platform::PenStyle platformPenStyle = platform::PenStyle::Solid;
};

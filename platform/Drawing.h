#pragma once
// Device contexts, drawing objects, drawing operations and block copies.
// Each call has the semantics and pixel rules of the GDI call it is named
// after in the comment, so that a Windows backend translates one to one
// and the software raster backend reproduces the same pixels.

#include "platform/Types.h"

#include <cstddef>
#include <cstdint>

namespace platform {

enum class PenStyle : std::int32_t { Solid = 0, Dot = 2, Null = 5 };
enum class BackgroundMode : std::int32_t { Transparent = 1, Opaque = 2 };

// Block-copy raster operations (ternary operation codes of the platform).
enum class RasterOp : std::uint32_t {
    SourceCopy = 0x00CC0020,    // dest = source
    NotSourceCopy = 0x00330008, // dest = ~source
    SourceAnd = 0x008800C6,     // dest = dest & source
    SourcePaint = 0x00EE0086,   // dest = dest | source
};

// Text layout flags of drawText.
enum TextFormat : std::uint32_t {
    TextLeft = 0x00,
    TextCenter = 0x01,
    TextRight = 0x02,
    TextVerticalCenter = 0x04,
    TextSingleLine = 0x20,
};

constexpr std::int32_t MapModeText = 1; // one logical unit is one pixel, y down

// A logical font request (LOGFONTA).
struct FontDescription {
    std::int32_t height = 0; // negative: character height; positive: cell height
    std::int32_t width = 0;
    std::int32_t escapement = 0;
    std::int32_t orientation = 0;
    std::int32_t weight = 400;
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint8_t charSet = 0;
    std::uint8_t outPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitchAndFamily = 0;
    char faceName[32] = {};
};

// --- device contexts -------------------------------------------------------
// A memory context compatible with `reference` (a screen context when none);
// it starts with a 1 x 1 monochrome picture selected (CreateCompatibleDC).
DeviceContext* createMemoryContext(DeviceContext* reference);
bool deleteMemoryContext(DeviceContext* context); // DeleteDC

// --- objects ---------------------------------------------------------------
// A picture of the format of the one selected into `reference`: monochrome
// for a memory context still holding its initial picture, colour otherwise
// (CreateCompatibleBitmap).
PixelMap* createCompatiblePixelMap(DeviceContext* reference, std::int32_t width,
                                   std::int32_t height);
PixelMap* createMonochromePixelMap(std::int32_t width, std::int32_t height); // CreateBitmap 1 bpp
// A picture from the module's bitmap resources by number; none if missing
// (LoadBitmapA).
PixelMap* loadPixelMapResource(void* module, std::int32_t resourceId);
bool pixelMapSize(PixelMap* map, std::int32_t& width, std::int32_t& height); // GetObjectA
Pen* createPen(PenStyle style, std::int32_t width, ColorWord color);         // CreatePenIndirect
Brush* createSolidBrush(ColorWord color);                                    // CreateBrushIndirect
Font* createFont(const FontDescription& description);                        // CreateFontIndirectA
Pen* stockNullPen(); // GetStockObject(NULL_PEN)

// Copies the picture's pixels, row by row from the top, into `pixels`,
// which holds width x height words (GetDIBits); false when it does not.
bool readPixelMap(PixelMap* map, ColorWord* pixels, std::size_t count);

// DeleteObject. An object still selected into a context is freed once it is
// deselected; stock objects are never freed.
bool deletePen(Pen* pen);
bool deleteBrush(Brush* brush);
bool deleteFont(Font* font);
bool deletePixelMap(PixelMap* map);

// SelectObject: each returns the object selected before, none on failure.
// A picture can only be selected into a memory context.
Pen* selectPen(DeviceContext* context, Pen* pen);
Brush* selectBrush(DeviceContext* context, Brush* brush);
Font* selectFont(DeviceContext* context, Font* font);
PixelMap* selectPixelMap(DeviceContext* context, PixelMap* map);

// GetCurrentObject.
Pen* currentPen(DeviceContext* context);
Brush* currentBrush(DeviceContext* context);
Font* currentFont(DeviceContext* context);

// --- context attributes ----------------------------------------------------
ColorWord setBackgroundColor(DeviceContext* context, ColorWord color);              // SetBkColor
ColorWord setTextColor(DeviceContext* context, ColorWord color);                    // SetTextColor
BackgroundMode setBackgroundMode(DeviceContext* context, BackgroundMode mode);      // SetBkMode
std::int32_t mapMode(DeviceContext* context);                                       // GetMapMode
std::int32_t setMapMode(DeviceContext* context, std::int32_t mode);                 // SetMapMode
bool deviceToLogical(DeviceContext* context, IntPoint* points, std::int32_t count); // DPtoLP

// --- drawing ---------------------------------------------------------------
bool moveTo(DeviceContext* context, std::int32_t x, std::int32_t y); // MoveToEx
// Line from the current position to (x, y), end pixel excluded (LineTo).
bool lineTo(DeviceContext* context, std::int32_t x, std::int32_t y);
bool polyline(DeviceContext* context, const IntPoint* points, std::int32_t count);
// Fills with the brush (alternate rule, right and bottom edges excluded) and
// outlines with the pen (Polygon).
bool polygon(DeviceContext* context, const IntPoint* points, std::int32_t count);
bool fillRect(DeviceContext* context, const IntRect& rect, Brush* brush); // FillRect
// Ellipse shapes are inscribed in the box (left, top, right, bottom) whose
// pixels run from left to right - 1 and top to bottom - 1. Arcs run
// counter-clockwise from the ray through the start point to the ray through
// the end point; equal rays give the whole ellipse.
bool arc(DeviceContext* context, const IntRect& box, IntPoint start, IntPoint end);
bool ellipse(DeviceContext* context, const IntRect& box);
bool pie(DeviceContext* context, const IntRect& box, IntPoint start, IntPoint end);
ColorWord setPixel(DeviceContext* context, std::int32_t x, std::int32_t y, ColorWord color);
// Draws `length` characters on one line in `rect` with the selected font,
// text colour and, in opaque mode, background colour (DrawTextA).
std::int32_t drawText(DeviceContext* context, const char* text, std::int32_t length,
                      const IntRect& rect, std::uint32_t format);

// BitBlt: copies width x height pixels from (sourceX, sourceY) of `source`
// to (x, y) of `dest`. Colour to monochrome turns the source's background
// colour into 1 and everything else into 0; monochrome to colour turns 0
// into the destination's text colour and 1 into its background colour.
bool blockCopy(DeviceContext* dest, std::int32_t x, std::int32_t y, std::int32_t width,
               std::int32_t height, DeviceContext* source, std::int32_t sourceX,
               std::int32_t sourceY, RasterOp op);

} // namespace platform

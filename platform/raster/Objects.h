#pragma once
// What the software raster backend's handles point at. Internal to the
// platform layer.

#include "platform/Drawing.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

namespace raster {
struct GlyphFace;
}

// Shared bookkeeping of every drawing object: how many contexts hold it
// selected, so that deleting an object in use can be refused.
struct DrawingObject {
    std::int32_t selections = 0;
    bool stock = false;
};

struct PixelMap : DrawingObject {
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool monochrome = false;
    // Colour words row by row from the top; a monochrome map holds only
    // 0 (black, bit 0) and 0xFFFFFF (white, bit 1).
    std::vector<ColorWord> pixels;
    // Set when the owner (a window) went away while a context still drew
    // into the map: the last deselection frees it.
    bool orphaned = false;
    // The box of pixels written since the owner last took it: what a window
    // backend has to show again. Empty while left >= right.
    IntRect damage{};
};

struct Pen : DrawingObject {
    PenStyle style = PenStyle::Solid;
    std::int32_t width = 1;
    ColorWord color = 0;
};

struct Brush : DrawingObject {
    ColorWord color = 0xFFFFFF;
};

struct Font : DrawingObject {
    const raster::GlyphFace* face = nullptr;
};

struct DeviceContext {
    PixelMap* target = nullptr; // what drawing goes to
    bool memory = false;        // a memory context: pictures can be selected
    Pen* pen = nullptr;
    Brush* brush = nullptr;
    Font* font = nullptr;
    ColorWord backgroundColor = 0xFFFFFF;
    ColorWord textColor = 0x000000;
    BackgroundMode backgroundMode = BackgroundMode::Opaque;
    IntPoint position;
    std::int32_t mapMode = MapModeText;
    std::int32_t dotPhase = 0; // position in the dotted pen's pattern
};

namespace raster {

// Stock objects, alive for the whole process.
Pen* stockBlackPen();
Brush* stockWhiteBrush();
Font* stockSystemFont();
PixelMap* stockMonochromeMap();
PixelMap* screenMap();

// A context drawing into `target` (a window's or the screen's picture).
DeviceContext* createTargetContext(PixelMap* target);
void deleteContext(DeviceContext* context);

PixelMap* newPixelMap(std::int32_t width, std::int32_t height, bool monochrome, ColorWord fill);
void freePixelMap(PixelMap* map);
// A picture from a 24-bit uncompressed BMP file in memory; none when the
// data is anything else or incomplete.
PixelMap* decodeBmp(const unsigned char* data, std::size_t size);

void holdTarget(PixelMap* map);
void releaseTarget(PixelMap* map);

// Writes one pixel, clipped, turning the colour into black or white on a
// monochrome target.
inline void plot(PixelMap* map, std::int32_t x, std::int32_t y, ColorWord color) {
    if (x < 0 || y < 0 || x >= map->width || y >= map->height)
        return;
    if (map->monochrome) {
        const int lightness = redOf(color) * 30 + greenOf(color) * 59 + blueOf(color) * 11;
        color = lightness >= 12750 ? 0xFFFFFF : 0;
    }
    map->pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(map->width) +
                static_cast<std::size_t>(x)] = color & 0xFFFFFF;
    IntRect& d = map->damage;
    if (d.left >= d.right) {
        d = {x, y, x + 1, y + 1};
        return;
    }
    d.left = x < d.left ? x : d.left;
    d.top = y < d.top ? y : d.top;
    d.right = x >= d.right ? x + 1 : d.right;
    d.bottom = y >= d.bottom ? y + 1 : d.bottom;
}

// The pixels written since the last call, and forgets them.
inline IntRect takeDamage(PixelMap* map) {
    const IntRect d = map->damage;
    map->damage = {};
    return d.left < d.right ? d : IntRect{};
}

inline ColorWord readPixel(const PixelMap* map, std::int32_t x, std::int32_t y) {
    return map->pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(map->width) +
                       static_cast<std::size_t>(x)];
}

} // namespace raster
} // namespace platform

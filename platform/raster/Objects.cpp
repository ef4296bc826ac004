// Creation, selection and deletion of the raster backend's contexts and
// drawing objects, and the context attributes.

#include "platform/raster/Objects.h"
#include "platform/Diagnostics.h"
#include "platform/raster/Glyphs.h"

#include <algorithm>
#include <atomic>
#include <new>

namespace platform {
namespace {

// Instances on different threads make and free objects at the same time.
std::atomic<std::int32_t> liveObjects{0};
std::atomic<std::int32_t> liveContexts{0};

// Stock objects live in static storage, not on the heap: a plug-in that a
// host loads and unloads again and again must give back all it took.
template <typename T> T makeStock() {
    T object{};
    object.stock = true;
    return object;
}

// Selections are counted only for objects that can be deleted. Stock
// objects are shared by every context on every thread and never deleted,
// so they keep no count (which would also race between two editors).
void countSelection(DrawingObject* object) {
    if (object && !object->stock)
        ++object->selections;
}
void uncountSelection(DrawingObject* object) {
    if (object && !object->stock)
        --object->selections;
}

// Takes one selection of `next` for a context slot and gives up `previous`.
template <typename T> T* swapSelection(T*& slot, T* next) {
    if (!next)
        return nullptr;
    T* previous = slot;
    countSelection(next);
    slot = next;
    uncountSelection(previous);
    return previous;
}

template <typename T> bool deleteObject(T* object) {
    if (!object || object->stock || object->selections > 0)
        return false;
    delete object;
    --liveObjects;
    return true;
}

} // namespace

namespace raster {

Pen* stockBlackPen() {
    static Pen pen = makeStock<Pen>();
    return &pen;
}

Brush* stockWhiteBrush() {
    static Brush brush = makeStock<Brush>();
    return &brush;
}

Font* stockSystemFont() {
    static Font font = [] {
        Font f = makeStock<Font>();
        f.face = findFace(true, 13);
        return f;
    }();
    return &font;
}

PixelMap* stockMonochromeMap() {
    static PixelMap map = [] {
        PixelMap m = makeStock<PixelMap>();
        m.width = m.height = 1;
        m.monochrome = true;
        m.pixels.assign(1, 0);
        return m;
    }();
    return &map;
}

PixelMap* screenMap() {
    static PixelMap map = [] {
        PixelMap m = makeStock<PixelMap>();
        m.width = m.height = 1;
        m.pixels.assign(1, 0);
        return m;
    }();
    return &map;
}

PixelMap* newPixelMap(std::int32_t width, std::int32_t height, bool monochrome, ColorWord fill) {
    if (width <= 0 || height <= 0 || width > 32767 || height > 32767)
        return nullptr;
    auto* map = new (std::nothrow) PixelMap{};
    if (!map)
        return nullptr;
    map->width = width;
    map->height = height;
    map->monochrome = monochrome;
    map->pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                       fill & 0xFFFFFF);
    ++liveObjects;
    return map;
}

void freePixelMap(PixelMap* map) {
    if (!map || map->stock)
        return;
    if (map->selections > 0) {
        map->orphaned = true;
        return;
    }
    delete map;
    --liveObjects;
}

void holdTarget(PixelMap* map) {
    countSelection(map);
}

void releaseTarget(PixelMap* map) {
    uncountSelection(map);
    if (map->selections == 0 && map->orphaned)
        freePixelMap(map);
}

DeviceContext* createTargetContext(PixelMap* target) {
    auto* context = new (std::nothrow) DeviceContext{};
    if (!context)
        return nullptr;
    context->target = target;
    holdTarget(target);
    context->pen = stockBlackPen();
    context->brush = stockWhiteBrush();
    context->font = stockSystemFont();
    ++liveContexts;
    return context;
}

void deleteContext(DeviceContext* context) {
    if (!context)
        return;
    uncountSelection(context->pen);
    uncountSelection(context->brush);
    uncountSelection(context->font);
    releaseTarget(context->target);
    delete context;
    --liveContexts;
}

} // namespace raster

DeviceContext* createMemoryContext(DeviceContext*) {
    DeviceContext* context = raster::createTargetContext(raster::stockMonochromeMap());
    if (context)
        context->memory = true;
    return context;
}

bool deleteMemoryContext(DeviceContext* context) {
    if (!context || !context->memory)
        return false;
    raster::deleteContext(context);
    return true;
}

PixelMap* createCompatiblePixelMap(DeviceContext* reference, std::int32_t width,
                                   std::int32_t height) {
    const bool monochrome = reference && reference->target->monochrome;
    return raster::newPixelMap(width, height, monochrome, 0);
}

PixelMap* createMonochromePixelMap(std::int32_t width, std::int32_t height) {
    return raster::newPixelMap(width, height, true, 0);
}

bool pixelMapSize(PixelMap* map, std::int32_t& width, std::int32_t& height) {
    if (!map)
        return false;
    width = map->width;
    height = map->height;
    return true;
}

bool readPixelMap(PixelMap* map, ColorWord* pixels, std::size_t count) {
    if (!map || !pixels || count != map->pixels.size())
        return false;
    std::copy(map->pixels.begin(), map->pixels.end(), pixels);
    return true;
}

Pen* createPen(PenStyle style, std::int32_t width, ColorWord color) {
    auto* pen = new (std::nothrow) Pen{};
    if (!pen)
        return nullptr;
    // Styled pens exist only one pixel wide; a wider one draws solid.
    pen->width = width < 1 ? 1 : width;
    pen->style = (style == PenStyle::Dot && pen->width > 1) ? PenStyle::Solid : style;
    pen->color = color & 0xFFFFFF;
    ++liveObjects;
    return pen;
}

Brush* createSolidBrush(ColorWord color) {
    auto* brush = new (std::nothrow) Brush{};
    if (!brush)
        return nullptr;
    brush->color = color & 0xFFFFFF;
    ++liveObjects;
    return brush;
}

Font* createFont(const FontDescription& description) {
    auto* font = new (std::nothrow) Font{};
    if (!font)
        return nullptr;
    font->face = raster::faceForRequest(description.weight >= 600, description.height);
    ++liveObjects;
    return font;
}

Pen* stockNullPen() {
    static Pen pen = [] {
        Pen p = makeStock<Pen>();
        p.style = PenStyle::Null;
        return p;
    }();
    return &pen;
}

bool deletePen(Pen* pen) {
    return deleteObject(pen);
}
bool deleteBrush(Brush* brush) {
    return deleteObject(brush);
}
bool deleteFont(Font* font) {
    return deleteObject(font);
}
bool deletePixelMap(PixelMap* map) {
    return deleteObject(map);
}

Pen* selectPen(DeviceContext* context, Pen* pen) {
    return context ? swapSelection(context->pen, pen) : nullptr;
}
Brush* selectBrush(DeviceContext* context, Brush* brush) {
    return context ? swapSelection(context->brush, brush) : nullptr;
}
Font* selectFont(DeviceContext* context, Font* font) {
    return context ? swapSelection(context->font, font) : nullptr;
}

PixelMap* selectPixelMap(DeviceContext* context, PixelMap* map) {
    if (!context || !context->memory || !map)
        return nullptr;
    return swapSelection(context->target, map);
}

Pen* currentPen(DeviceContext* context) {
    return context ? context->pen : nullptr;
}
Brush* currentBrush(DeviceContext* context) {
    return context ? context->brush : nullptr;
}
Font* currentFont(DeviceContext* context) {
    return context ? context->font : nullptr;
}

ColorWord setBackgroundColor(DeviceContext* context, ColorWord color) {
    if (!context)
        return 0xFFFFFFFF;
    const ColorWord previous = context->backgroundColor;
    context->backgroundColor = color & 0xFFFFFF;
    return previous;
}

ColorWord setTextColor(DeviceContext* context, ColorWord color) {
    if (!context)
        return 0xFFFFFFFF;
    const ColorWord previous = context->textColor;
    context->textColor = color & 0xFFFFFF;
    return previous;
}

BackgroundMode setBackgroundMode(DeviceContext* context, BackgroundMode mode) {
    if (!context)
        return BackgroundMode{0};
    const BackgroundMode previous = context->backgroundMode;
    context->backgroundMode = mode;
    return previous;
}

std::int32_t mapMode(DeviceContext* context) {
    return context ? context->mapMode : 0;
}

std::int32_t setMapMode(DeviceContext* context, std::int32_t mode) {
    // Only the pixel mapping exists here; other modes are refused.
    if (!context || mode != MapModeText)
        return 0;
    const std::int32_t previous = context->mapMode;
    context->mapMode = mode;
    return previous;
}

bool deviceToLogical(DeviceContext* context, IntPoint*, std::int32_t count) {
    // With the pixel mapping, device and logical coordinates coincide.
    return context && count >= 0;
}

std::int32_t liveDrawingObjects() {
    return liveObjects.load(std::memory_order_relaxed);
}
std::int32_t liveDeviceContexts() {
    return liveContexts.load(std::memory_order_relaxed);
}

} // namespace platform

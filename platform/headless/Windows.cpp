// The headless window system: windows are pictures in memory arranged in a
// parent/child tree, with classes, user data, paint state and geometry,
// driven by whoever holds the controls of platform/Headless.h.

#include "platform/Drawing.h"
#include "platform/Headless.h"
#include "platform/TextEditing.h"
#include "platform/Windowing.h"
#include "platform/headless/WindowRecord.h"
#include "platform/raster/Objects.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace platform {

namespace {

// The classic button-face grey that a new window shows before its first paint.
constexpr ColorWord buttonFace = colorWord(240, 240, 240);

struct ClassKey {
    std::string name;
    void* module;
    bool operator<(const ClassKey& other) const {
        return name != other.name ? name < other.name : module < other.module;
    }
};

std::map<ClassKey, WindowProcedure>& classes() {
    static std::map<ClassKey, WindowProcedure> registry;
    return registry;
}

std::set<Window*>& liveWindows() {
    static std::set<Window*> windows;
    return windows;
}

bool isEditClass(const char* name) {
    // Class names compare without regard to case.
    const char* edit = EditClassName;
    for (; *name && *edit; ++name, ++edit)
        if (std::toupper(static_cast<unsigned char>(*name)) != *edit)
            return false;
    return *name == *edit;
}

} // namespace

namespace headless {

bool exists(Window* window) {
    return window && liveWindows().count(window) != 0;
}

Window* newWindow(Window* parent, std::int32_t x, std::int32_t y, std::int32_t width,
                  std::int32_t height) {
    PixelMap* surface =
        raster::newPixelMap(std::max(width, 1), std::max(height, 1), false, buttonFace);
    if (!surface)
        return nullptr;
    auto* window = new Window{};
    window->parent = parent;
    window->x = x;
    window->y = y;
    window->surface = surface;
    raster::holdTarget(surface);
    liveWindows().insert(window);
    if (parent)
        parent->children.push_back(window);
    return window;
}

IntPoint screenOrigin(Window* window) {
    IntPoint origin;
    for (Window* w = window; w; w = w->parent) {
        origin.x += w->x;
        origin.y += w->y;
    }
    return origin;
}

MessageResult send(Window* window, std::uint32_t message, WordParam wParam, LongParam lParam) {
    if (window->procedure)
        return window->procedure(window, message, wParam, lParam);
    return defaultWindowProcedure(window, message, wParam, lParam);
}

} // namespace headless

using headless::exists;
using headless::newWindow;
using headless::screenOrigin;
using headless::send;

bool registerWindowClass(const char* name, WindowProcedure procedure, void* module) {
    if (!name || !procedure)
        return false;
    return classes().emplace(ClassKey{name, module}, procedure).second;
}

bool unregisterWindowClass(const char* name, void* module) {
    if (!name)
        return false;
    // A class cannot go while windows of it exist.
    for (Window* window : liveWindows())
        if (window->className == name && window->module == module)
            return false;
    return classes().erase(ClassKey{name, module}) != 0;
}

bool isWindowClassRegistered(const char* name, void* module) {
    return name && classes().count(ClassKey{name, module}) != 0;
}

Window* createWindow(const char* className, const char* title, std::uint32_t style, std::int32_t x,
                     std::int32_t y, std::int32_t width, std::int32_t height, Window* parent,
                     void* module) {
    if (!className)
        return nullptr;
    // The edit class is the system's: it exists for every module.
    const bool edit = isEditClass(className);
    const auto found = classes().find(ClassKey{className, module});
    if (!edit && found == classes().end())
        return nullptr;
    if ((style & StyleChild) && !exists(parent))
        return nullptr;
    Window* window = newWindow((style & StyleChild) ? parent : nullptr, x, y, width, height);
    if (!window)
        return nullptr;
    window->className = className;
    window->title = title ? title : "";
    window->module = module;
    if (edit) {
        window->procedure = headless::editWindowProcedure;
        window->editor = std::make_unique<widgets::LineEditor>(title, style, width, height);
        // The control shows its text at once, as a system control paints
        // itself before anyone looks.
        send(window, MessagePaint, 0, 0);
    } else {
        window->procedure = found->second;
    }
    return window;
}

bool destroyWindow(Window* window) {
    if (!exists(window) || window->destroying)
        return false;
    window->destroying = true;
    // The window hears of its end first, then its children, as on the
    // platform it stands in for.
    send(window, MessageDestroy, 0, 0);
    while (!window->children.empty())
        destroyWindow(window->children.back());
    if (window->parent) {
        auto& siblings = window->parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), window), siblings.end());
    }
    headless::forgetFocusOf(window);
    headless::dropPostedMessages(window);
    liveWindows().erase(window);
    raster::releaseTarget(window->surface);
    raster::freePixelMap(window->surface);
    delete window;
    return true;
}

bool isWindow(Window* window) {
    return exists(window);
}

LongParam setWindowUserData(Window* window, LongParam value) {
    if (!exists(window))
        return 0;
    return std::exchange(window->userData, value);
}

LongParam windowUserData(Window* window) {
    return exists(window) ? window->userData : 0;
}

MessageResult defaultWindowProcedure(Window* window, std::uint32_t message, WordParam, LongParam) {
    // Painting validates the window even when nobody drew.
    if (message == MessagePaint && exists(window))
        window->needsPaint = false;
    return 0;
}

DeviceContext* windowContext(Window* window) {
    if (!window)
        return raster::createTargetContext(raster::screenMap());
    if (!exists(window))
        return nullptr;
    return raster::createTargetContext(window->surface);
}

bool releaseWindowContext(Window*, DeviceContext* context) {
    if (!context || context->memory)
        return false;
    raster::deleteContext(context);
    return true;
}

bool hasUpdateRegion(Window* window) {
    return exists(window) && window->needsPaint;
}

DeviceContext* beginPaint(Window* window) {
    if (!exists(window))
        return nullptr;
    window->needsPaint = false;
    return raster::createTargetContext(window->surface);
}

void endPaint(Window*, DeviceContext* context) {
    if (context && !context->memory)
        raster::deleteContext(context);
}

bool invalidateWindow(Window* window) {
    if (!exists(window))
        return false;
    window->needsPaint = true;
    return true;
}

void dispatchWindowEvents(Window*) {
    // The driver delivers events itself (deliverPaint, deliverButtonPress).
}

Window* parentWindow(Window* window) {
    return exists(window) ? window->parent : nullptr;
}

bool windowRect(Window* window, IntRect& rect) {
    if (!exists(window))
        return false;
    const IntPoint origin = screenOrigin(window);
    rect = {origin.x, origin.y, origin.x + window->surface->width,
            origin.y + window->surface->height};
    return true;
}

bool mapWindowPoints(Window* from, Window* to, IntPoint* points, std::int32_t count) {
    if ((from && !exists(from)) || (to && !exists(to)) || (!points && count > 0))
        return false;
    const IntPoint a = screenOrigin(from);
    const IntPoint b = screenOrigin(to);
    for (std::int32_t i = 0; i < count; ++i) {
        points[i].x += a.x - b.x;
        points[i].y += a.y - b.y;
    }
    return true;
}

bool resizeWindow(Window* window, std::int32_t width, std::int32_t height) {
    if (!exists(window) || width < 0 || height < 0)
        return false;
    PixelMap* old = window->surface;
    if (width == old->width && height == old->height)
        return true;
    PixelMap* surface =
        raster::newPixelMap(std::max(width, 1), std::max(height, 1), false, buttonFace);
    if (!surface)
        return false;
    for (std::int32_t y = 0; y < std::min(height, old->height); ++y)
        for (std::int32_t x = 0; x < std::min(width, old->width); ++x)
            raster::plot(surface, x, y, raster::readPixel(old, x, y));
    raster::holdTarget(surface);
    window->surface = surface;
    raster::releaseTarget(old);
    raster::freePixelMap(old);
    window->needsPaint = true;
    if (window->editor)
        window->editor->resize(width, height);
    return true;
}

bool bringWindowToTop(Window* window) {
    return exists(window);
}

std::int32_t dialogFrameHeight() {
    return 3;
}

namespace headless {

Window* createHostWindow(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) {
    return newWindow(nullptr, x, y, width, height);
}

bool deliverPaint(Window* window) {
    if (!invalidateWindow(window))
        return false;
    send(window, MessagePaint, 0, 0);
    return true;
}

std::vector<ColorWord> windowPixels(Window* window, std::int32_t& width, std::int32_t& height) {
    width = height = 0;
    if (!exists(window))
        return {};
    width = window->surface->width;
    height = window->surface->height;
    return window->surface->pixels;
}

std::int32_t childWindowCount(Window* window) {
    return exists(window) ? static_cast<std::int32_t>(window->children.size()) : 0;
}

Window* childWindow(Window* window, std::int32_t index) {
    if (!exists(window) || index < 0 || index >= childWindowCount(window))
        return nullptr;
    return window->children[static_cast<std::size_t>(index)];
}

std::int32_t liveWindowCount() {
    return static_cast<std::int32_t>(liveWindows().size());
}

// Button presses need the pointer; see Input.cpp.
void placePointerForPress(std::int32_t screenX, std::int32_t screenY, std::uint32_t buttons);

bool deliverButtonPress(Window* window, std::int32_t x, std::int32_t y, std::uint32_t buttons) {
    if (!exists(window))
        return false;
    const IntPoint origin = screenOrigin(window);
    placePointerForPress(origin.x + x, origin.y + y, buttons);
    const bool right = (buttons & PointerRight) && !(buttons & PointerLeft);
    send(window, right ? MessageRightButtonDown : MessageLeftButtonDown, 0, packPosition(x, y));
    return true;
}

} // namespace headless
} // namespace platform

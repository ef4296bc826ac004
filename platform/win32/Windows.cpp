// The Win32 window system: child windows through USER32. Pixels are made by
// the software raster only: each window of a class registered here keeps a
// raster picture (its backing) that every context on the window draws into,
// and the backend shows what was written since the last time by copying it
// to the window with GDI32, from a memory context holding a 32-bit top-down
// DIB section that mirrors the backing.

#include "platform/Windowing.h"
#include "platform/raster/Objects.h"

#include "platform/win32/SystemHeaders.h"

#include "platform/win32/TopDownBitmap.h"
#include "platform/win32/WindowRecords.h"

#include <algorithm>
#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <utility>

namespace platform {
namespace {

using win32::handleOf;
using win32::windowOf;

// Classes registered without a module belong to the program itself.
HINSTANCE instanceOf(void* module) {
    return module ? static_cast<HINSTANCE>(module) : GetModuleHandleA(nullptr);
}

// What the backend keeps for each window of its classes.
struct WindowRecord {
    HWND handle = nullptr;
    // The procedure of the class, or the one that replaced it for this
    // window (setWindowProcedure, possibly from another thread).
    std::atomic<WindowProcedure> procedure = nullptr;
    PixelMap* backing = nullptr;
    HDC memory = nullptr;      // a memory context holding `section`
    HBITMAP section = nullptr; // 32-bit, top-down, the size of the backing
    HGDIOBJ initialBitmap = nullptr;
    std::uint32_t* bits = nullptr; // the section's pixels: blue | green << 8 | red << 16
    PAINTSTRUCT paint{};
    bool painting = false;
};

// Registered classes and live windows of this module's backend. Editors of
// two instances may run on two threads.
struct Registry {
    std::mutex lock;
    std::map<std::pair<std::string, HINSTANCE>, WindowProcedure> classes;
    std::map<HWND, WindowRecord*> windows;
};

Registry& registry() {
    static Registry r;
    return r;
}

WindowRecord* recordOf(HWND handle) {
    Registry& r = registry();
    const std::lock_guard<std::mutex> guard(r.lock);
    const auto found = r.windows.find(handle);
    return found == r.windows.end() ? nullptr : found->second;
}

WindowProcedure procedureOf(const char* className, HINSTANCE instance) {
    Registry& r = registry();
    const std::lock_guard<std::mutex> guard(r.lock);
    const auto found = r.classes.find({className, instance});
    return found == r.classes.end() ? nullptr : found->second;
}

std::uint32_t sectionPixel(ColorWord color) {
    return (color & 0xFF) << 16 | (color & 0xFF00) | (color >> 16 & 0xFF);
}

IntRect clipped(IntRect box, const PixelMap* map) {
    box.left = std::max(box.left, 0);
    box.top = std::max(box.top, 0);
    box.right = std::min(box.right, map->width);
    box.bottom = std::min(box.bottom, map->height);
    return box;
}

bool isEmpty(const IntRect& box) {
    return box.left >= box.right || box.top >= box.bottom;
}

IntRect united(const IntRect& a, const IntRect& b) {
    if (isEmpty(a))
        return b;
    if (isEmpty(b))
        return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

bool encloses(const IntRect& outer, const IntRect& inner) {
    return isEmpty(inner) || (inner.left >= outer.left && inner.top >= outer.top &&
                              inner.right <= outer.right && inner.bottom <= outer.bottom);
}

// Copies a box of the backing into the section, turning colour words into
// the section's byte order.
void mirror(WindowRecord& record, IntRect box) {
    box = clipped(box, record.backing);
    if (isEmpty(box))
        return;
    // GDI may still be reading the section from an earlier copy.
    GdiFlush();
    const std::int32_t width = record.backing->width;
    for (std::int32_t y = box.top; y < box.bottom; ++y) {
        const std::size_t row = static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        const ColorWord* from = record.backing->pixels.data() + row;
        std::uint32_t* to = record.bits + row;
        for (std::int32_t x = box.left; x < box.right; ++x)
            to[x] = sectionPixel(from[x]);
    }
}

// A context of the whole client area that leaves child windows (an edit
// window over the toolkit's frame) alone: the backing holds none of their
// pixels.
HDC clientContext(HWND handle) {
    return GetDCEx(handle, nullptr, DCX_CACHE | DCX_CLIPCHILDREN);
}

// Shows a box of the section on the window through `dc`.
void blit(WindowRecord& record, HDC dc, IntRect box) {
    box = clipped(box, record.backing);
    if (isEmpty(box))
        return;
    BitBlt(dc, box.left, box.top, box.right - box.left, box.bottom - box.top, record.memory,
           box.left, box.top, SRCCOPY);
}

// Shows what was drawn since the last time through a context of the whole
// client area. Nothing drawn, no call.
void presentDamage(WindowRecord& record) {
    const IntRect damage = raster::takeDamage(record.backing);
    if (isEmpty(damage))
        return;
    mirror(record, damage);
    if (HDC dc = clientContext(record.handle)) {
        blit(record, dc, damage);
        ReleaseDC(record.handle, dc);
    }
}

void freeSurface(WindowRecord& record) {
    if (record.memory) {
        SelectObject(record.memory, record.initialBitmap);
        DeleteDC(record.memory);
    }
    if (record.section)
        DeleteObject(record.section);
    if (record.backing) {
        raster::releaseTarget(record.backing);
        raster::freePixelMap(record.backing);
    }
    record.memory = nullptr;
    record.section = nullptr;
    record.backing = nullptr;
    record.bits = nullptr;
}

// Gives the record a backing and a section of this size; the pixels that
// both sizes share are kept, the rest shows the button face. False when
// the system has no room: the record keeps what it had.
bool makeSurface(WindowRecord& record, std::int32_t width, std::int32_t height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    const auto face = static_cast<ColorWord>(GetSysColor(COLOR_BTNFACE));
    PixelMap* backing = raster::newPixelMap(width, height, false, face);
    if (!backing)
        return false;
    BITMAPINFO info = win32::topDownBitmapFormat(width, height);
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = section ? CreateCompatibleDC(nullptr) : nullptr;
    if (!memory) {
        if (section)
            DeleteObject(section);
        raster::freePixelMap(backing);
        return false;
    }
    if (const PixelMap* old = record.backing) {
        const std::int32_t keepWidth = std::min(width, old->width);
        for (std::int32_t y = 0; y < std::min(height, old->height); ++y)
            std::copy_n(old->pixels.begin() + static_cast<std::ptrdiff_t>(y) * old->width,
                        keepWidth,
                        backing->pixels.begin() + static_cast<std::ptrdiff_t>(y) * width);
    }
    freeSurface(record);
    raster::holdTarget(backing);
    record.backing = backing;
    record.section = section;
    record.bits = static_cast<std::uint32_t*>(bits);
    record.memory = memory;
    record.initialBitmap = SelectObject(memory, section);
    mirror(record, {0, 0, width, height});
    return true;
}

// The one procedure of every class registered here. It forwards each
// message unchanged to the toolkit's procedure of the window's class, and
// keeps the window's record from its creation to its very last message.
LRESULT CALLBACK backendProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowRecord* record = recordOf(handle);
    if (!record && message == WM_NCCREATE) {
        record = static_cast<WindowRecord*>(
            reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams);
        if (record) {
            record->handle = handle;
            Registry& r = registry();
            const std::lock_guard<std::mutex> guard(r.lock);
            r.windows[handle] = record;
        }
    }
    if (!record)
        return DefWindowProcA(handle, message, wParam, lParam);
    if (message == WM_SIZE) {
        const std::int32_t width = LOWORD(lParam);
        const std::int32_t height = HIWORD(lParam);
        if (width != record->backing->width || height != record->backing->height)
            makeSurface(*record, width, height);
    }
    const LRESULT result = record->procedure.load()(windowOf(handle), message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        {
            Registry& r = registry();
            const std::lock_guard<std::mutex> guard(r.lock);
            r.windows.erase(handle);
        }
        freeSurface(*record);
        delete record;
    }
    return result;
}

} // namespace

namespace win32 {

bool swapRecordProcedure(HWND handle, WindowProcedure procedure, WindowProcedure& previous) {
    WindowRecord* record = recordOf(handle);
    if (!record)
        return false;
    previous = record->procedure.exchange(procedure);
    return true;
}

bool hasRecord(HWND handle) {
    return recordOf(handle) != nullptr;
}

} // namespace win32

bool registerWindowClass(const char* name, WindowProcedure procedure, void* module) {
    if (!name || !procedure)
        return false;
    const HINSTANCE instance = instanceOf(module);
    WNDCLASSA description{};
    description.style = 0;
    description.lpfnWndProc = &backendProcedure;
    description.hInstance = instance;
    description.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    description.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    description.lpszClassName = name;
    if (!RegisterClassA(&description))
        return false;
    Registry& r = registry();
    const std::lock_guard<std::mutex> guard(r.lock);
    r.classes[{name, instance}] = procedure;
    return true;
}

bool unregisterWindowClass(const char* name, void* module) {
    if (!name)
        return false;
    const HINSTANCE instance = instanceOf(module);
    if (!UnregisterClassA(name, instance))
        return false;
    Registry& r = registry();
    const std::lock_guard<std::mutex> guard(r.lock);
    r.classes.erase({name, instance});
    return true;
}

bool isWindowClassRegistered(const char* name, void* module) {
    WNDCLASSA description{};
    return name && GetClassInfoA(instanceOf(module), name, &description);
}

Window* createWindow(const char* className, const char* title, std::uint32_t style, std::int32_t x,
                     std::int32_t y, std::int32_t width, std::int32_t height, Window* parent,
                     void* module) {
    if (!className)
        return nullptr;
    const HINSTANCE instance = instanceOf(module);
    // Windows of other classes (the system's edit control) get no backing:
    // they draw themselves.
    WindowRecord* record = nullptr;
    if (WindowProcedure procedure = procedureOf(className, instance)) {
        record = new WindowRecord{};
        record->procedure = procedure;
        if (!makeSurface(*record, width, height)) {
            delete record;
            return nullptr;
        }
    }
    const HWND handle = CreateWindowExA(0, className, title, style, x, y, width, height,
                                        handleOf(parent), nullptr, instance, record);
    // A window that got as far as its first message freed its record with
    // its last one.
    if (!handle && record && !record->handle) {
        freeSurface(*record);
        delete record;
    }
    return windowOf(handle);
}

bool destroyWindow(Window* window) {
    return DestroyWindow(handleOf(window)) != 0;
}

bool isWindow(Window* window) {
    return window && IsWindow(handleOf(window));
}

LongParam setWindowUserData(Window* window, LongParam value) {
    return SetWindowLongPtrA(handleOf(window), GWLP_USERDATA, value);
}

LongParam windowUserData(Window* window) {
    return GetWindowLongPtrA(handleOf(window), GWLP_USERDATA);
}

MessageResult defaultWindowProcedure(Window* window, std::uint32_t message, WordParam wParam,
                                     LongParam lParam) {
    return DefWindowProcA(handleOf(window), message, wParam, lParam);
}

DeviceContext* windowContext(Window* window) {
    if (!window)
        return raster::createTargetContext(raster::screenMap());
    WindowRecord* record = recordOf(handleOf(window));
    return record ? raster::createTargetContext(record->backing) : nullptr;
}

bool releaseWindowContext(Window* window, DeviceContext* context) {
    if (!context || context->memory)
        return false;
    if (window) {
        if (WindowRecord* record = recordOf(handleOf(window)))
            presentDamage(*record);
    }
    raster::deleteContext(context);
    return true;
}

bool hasUpdateRegion(Window* window) {
    return GetUpdateRect(handleOf(window), nullptr, FALSE) != 0;
}

DeviceContext* beginPaint(Window* window) {
    WindowRecord* record = recordOf(handleOf(window));
    if (!record || record->painting)
        return nullptr;
    DeviceContext* context = raster::createTargetContext(record->backing);
    if (!context)
        return nullptr;
    if (!BeginPaint(record->handle, &record->paint)) {
        raster::deleteContext(context);
        return nullptr;
    }
    record->painting = true;
    return context;
}

void endPaint(Window* window, DeviceContext* context) {
    // No context, no paint begun: a paint of this window may still be
    // under way further up.
    if (!context || context->memory)
        return;
    raster::deleteContext(context);
    WindowRecord* record = recordOf(handleOf(window));
    if (!record || !record->painting)
        return;
    const RECT& asked = record->paint.rcPaint;
    const IntRect paintBox{asked.left, asked.top, asked.right, asked.bottom};
    const IntRect damage = raster::takeDamage(record->backing);
    mirror(*record, damage);
    // The paint context is clipped to what the system asked for; pixels
    // drawn beyond it (a full redraw after a small exposure) go through a
    // context of the whole client area, or the screen would keep old ones.
    if (!encloses(paintBox, damage)) {
        if (HDC dc = clientContext(record->handle)) {
            blit(*record, dc, damage);
            ReleaseDC(record->handle, dc);
        }
    }
    blit(*record, record->paint.hdc, united(damage, paintBox));
    EndPaint(record->handle, &record->paint);
    record->painting = false;
}

bool invalidateWindow(Window* window) {
    return InvalidateRect(handleOf(window), nullptr, FALSE) != 0;
}

void dispatchWindowEvents(Window*) {
    // The host's message loop delivers every message to the window's
    // procedure.
}

Window* parentWindow(Window* window) {
    return windowOf(GetParent(handleOf(window)));
}

bool windowRect(Window* window, IntRect& rect) {
    RECT r;
    if (!GetWindowRect(handleOf(window), &r))
        return false;
    rect = {r.left, r.top, r.right, r.bottom};
    return true;
}

bool mapWindowPoints(Window* from, Window* to, IntPoint* points, std::int32_t count) {
    if ((from && !isWindow(from)) || (to && !isWindow(to)) || (!points && count > 0))
        return false;
    for (std::int32_t i = 0; i < count; ++i) {
        POINT p{points[i].x, points[i].y};
        MapWindowPoints(handleOf(from), handleOf(to), &p, 1);
        points[i] = {p.x, p.y};
    }
    return true;
}

bool resizeWindow(Window* window, std::int32_t width, std::int32_t height) {
    if (width < 0 || height < 0)
        return false;
    return SetWindowPos(handleOf(window), nullptr, 0, 0, width, height,
                        SWP_NOMOVE | SWP_NOZORDER) != 0;
}

bool bringWindowToTop(Window* window) {
    return BringWindowToTop(handleOf(window)) != 0;
}

std::int32_t dialogFrameHeight() {
    return GetSystemMetrics(SM_CYDLGFRAME);
}

} // namespace platform

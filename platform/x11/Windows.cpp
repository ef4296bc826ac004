// Child windows on an X server. Each window this backend creates in a
// window it did not create opens a connection of its own, so that an
// editor never shares one with the host or with another editor, and its
// events wait there until the editor's idle drains them; windows inside
// such a window share its connection and its drain. A window's pixels
// live in a raster picture; whatever the raster draws into it is copied
// to the window when the drawing context is given back.

#include "platform/Drawing.h"
#include "platform/Windowing.h"
#include "platform/raster/Objects.h"
#include "platform/x11/Backend.h"

#include <X11/Xutil.h>
#include <poll.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <new>
#include <string>
#include <unordered_map>
#include <utility>

namespace platform {
namespace x11 {
namespace {

// The grey a window shows before its first paint.
constexpr ColorWord buttonFace = colorWord(240, 240, 240);

struct ClassKey {
    std::string name;
    void* module;
    bool operator<(const ClassKey& other) const {
        return name != other.name ? name < other.name : module < other.module;
    }
};

// Classes and records are shared by every thread that has editors; each
// record is used only on the thread that made it.
std::mutex registryLock;
std::map<ClassKey, WindowProcedure> classes;
std::unordered_map<::Window, WindowRecord*> records;

thread_local WindowRecord* handling = nullptr;

WindowProcedure classProcedure(const char* name, void* module) {
    std::lock_guard<std::mutex> lock(registryLock);
    const auto found = classes.find(ClassKey{name, module});
    return found == classes.end() ? nullptr : found->second;
}

} // namespace

void enrol(WindowRecord* record) {
    std::lock_guard<std::mutex> lock(registryLock);
    records[record->id] = record;
}

void withdraw(WindowRecord* record) {
    if (!record->gone) {
        forgetFocus(record);
        forgetPostedMessages(handleOf(record->id));
    }
    std::lock_guard<std::mutex> lock(registryLock);
    const auto found = records.find(record->id);
    if (found != records.end() && found->second == record)
        records.erase(found);
    record->gone = true;
}

WindowRecord* recordOf(platform::Window* window) {
    if (!window)
        return nullptr;
    std::lock_guard<std::mutex> lock(registryLock);
    const auto found = records.find(xid(window));
    return found == records.end() ? nullptr : found->second;
}

WindowRecord* currentRecord() {
    if (handling && !handling->gone)
        return handling;
    const std::thread::id self = std::this_thread::get_id();
    std::lock_guard<std::mutex> lock(registryLock);
    for (const auto& entry : records)
        if (entry.second->owner == self)
            return entry.second;
    return nullptr;
}

WindowRecord* setHandlingRecord(WindowRecord* record) {
    return std::exchange(handling, record);
}

IntRect unite(const IntRect& a, const IntRect& b) {
    if (a.left >= a.right)
        return b;
    if (b.left >= b.right)
        return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

MessageResult sendTo(WindowRecord* record, std::uint32_t message, WordParam wParam,
                     LongParam lParam) {
    platform::Window* window = handleOf(record->id);
    if (record->procedure)
        return record->procedure(window, message, wParam, lParam);
    return defaultWindowProcedure(window, message, wParam, lParam);
}

namespace {

MessageResult send(WindowRecord* record, std::uint32_t message, WordParam wParam,
                   LongParam lParam) {
    return sendTo(record, message, wParam, lParam);
}

// Shows what was drawn into the backing since the last time, and `extra`.
void present(WindowRecord& record, const IntRect& extra) {
    const IntRect box = unite(raster::takeDamage(record.backing), extra);
    if (box.left >= box.right || record.gone)
        return;
    ErrorTrap trap(record.display);
    record.presenter.show(record.display, record.id, *record.backing, box);
}

void freeBacking(WindowRecord& record) {
    if (!record.backing)
        return;
    raster::releaseTarget(record.backing);
    raster::freePixelMap(record.backing); // kept until the last context lets go
    record.backing = nullptr;
}

void detachGuest(WindowRecord* guest) {
    std::vector<WindowRecord*>& guests = guest->host->guests;
    guests.erase(std::remove(guests.begin(), guests.end(), guest), guests.end());
}

// Frees the record with all it holds: the window (unless the server
// already destroyed it), the image, the colour map and, for the owner of
// the connection, the windows sharing it and the connection itself.
void release(WindowRecord* record, bool destroyOnServer) {
    // The windows sharing the connection went with ours on the server.
    if (!record->host) {
        for (auto* list : {&record->guests, &record->departed}) {
            for (WindowRecord* guest : std::exchange(*list, {})) {
                withdraw(guest);
                release(guest, false);
            }
        }
    }
    if (record->display) {
        ErrorTrap trap(record->display);
        if (destroyOnServer)
            XDestroyWindow(record->display, record->id);
        record->presenter.destroy(record->display);
        if (record->colormap)
            XFreeColormap(record->display, record->colormap);
        if (record->host) {
            XFlush(record->display); // the connection is the host's
        } else {
            XSync(record->display, False);
            XCloseDisplay(record->display);
        }
        record->display = nullptr;
    }
    freeBacking(*record);
    delete record;
}

// A record out of the registry is freed at once, or when the drain that
// is handling its events ends.
void discard(WindowRecord* record, bool destroyOnServer) {
    if (record->host) {
        detachGuest(record);
        if (!record->host->dispatching) {
            release(record, destroyOnServer);
            return;
        }
        if (destroyOnServer && record->display) {
            ErrorTrap trap(record->display);
            XDestroyWindow(record->display, record->id);
            XFlush(record->display);
        }
        record->host->departed.push_back(record);
        return;
    }
    if (record->dispatching) {
        if (destroyOnServer && record->display) {
            ErrorTrap trap(record->display);
            XDestroyWindow(record->display, record->id);
            XFlush(record->display);
        }
        return;
    }
    release(record, destroyOnServer);
}

// The record whose connection serves a call about `window`: the window's
// own, or for a host's window one of the calling thread's.
WindowRecord* serving(platform::Window* window) {
    if (WindowRecord* record = recordOf(window))
        return record;
    return currentRecord();
}

Display* connectionFor(platform::Window* window) {
    WindowRecord* record = serving(window);
    return record ? record->display : nullptr;
}

bool makeBacking(WindowRecord& record, int width, int height) {
    PixelMap* map = raster::newPixelMap(width, height, false, buttonFace);
    if (!map)
        return false;
    raster::holdTarget(map);
    record.backing = map;
    return true;
}

void deliverPress(WindowRecord* record, const XButtonEvent& press) {
    const bool left = press.button == Button1;
    if (!left && press.button != Button3)
        return; // the middle button and the wheel
    record->press = {true, false, press.x_root, press.y_root,
                     press.state | (left ? Button1Mask : Button3Mask)};
    WindowRecord* outer = setHandlingRecord(record);
    send(record, left ? MessageLeftButtonDown : MessageRightButtonDown, 0,
         packPosition(press.x, press.y));
    setHandlingRecord(outer);
    record->press = {};
}

// Takes the connection's next event without waiting; false when there is
// none. An idle in which nothing happened costs one poll of the socket and
// no flush: Xlib is asked to flush and read only when its queue holds
// events, when requests were made since the connection was last found
// quiet (they may wait in its buffer, and what it read meanwhile may wait
// in a queue beneath its own), or when the socket has something to read
// or has failed (which Xlib then reports).
bool nextEvent(WindowRecord& record, XEvent& event) {
    Display* display = record.display;
    if (QLength(display) == 0) {
        if (NextRequest(display) == record.quietAt) {
            pollfd socket{ConnectionNumber(display), POLLIN, 0};
            if (poll(&socket, 1, 0) == 0)
                return false;
        }
        ErrorTrap trap(display);
        if (XPending(display) == 0) {
            record.quietAt = NextRequest(display);
            return false;
        }
    }
    XNextEvent(display, &event); // from the queue: no reading
    return true;
}

void deliverPaint(WindowRecord* record) {
    record->paintRequested = false;
    record->paintDue = false;
    record->needsPaint = true;
    send(record, MessagePaint, 0, 0);
}

// The window an event is for, among those on the owner's connection.
WindowRecord* targetOf(WindowRecord* owner, ::Window id) {
    if (id == owner->id)
        return owner;
    for (WindowRecord* guest : owner->guests)
        if (guest->id == id)
            return guest;
    return nullptr;
}

bool isDescendant(const WindowRecord* record, const WindowRecord* ancestor) {
    for (const WindowRecord* up = record->parent; up; up = up->parent)
        if (up == ancestor)
            return true;
    return false;
}

} // namespace

} // namespace x11

using x11::WindowRecord;

bool registerWindowClass(const char* name, WindowProcedure procedure, void* module) {
    if (!name || !procedure)
        return false;
    std::lock_guard<std::mutex> lock(x11::registryLock);
    return x11::classes.emplace(x11::ClassKey{name, module}, procedure).second;
}

bool unregisterWindowClass(const char* name, void* module) {
    if (!name)
        return false;
    std::lock_guard<std::mutex> lock(x11::registryLock);
    // A class cannot go while windows of it exist.
    for (const auto& entry : x11::records)
        if (entry.second->className == name && entry.second->module == module)
            return false;
    return x11::classes.erase(x11::ClassKey{name, module}) != 0;
}

bool isWindowClassRegistered(const char* name, void* module) {
    return name && x11::classProcedure(name, module) != nullptr;
}

Window* createWindow(const char* className, const char* title, std::uint32_t style, std::int32_t x,
                     std::int32_t y, std::int32_t width, std::int32_t height, Window* parent,
                     void* module) {
    if (!className)
        return nullptr;
    WindowProcedure procedure = x11::classProcedure(className, module);
    const bool edit = !procedure && x11::isEditClass(className);
    if (edit)
        procedure = &x11::editProcedure;
    const bool child = (style & StyleChild) != 0;
    if (!procedure || (child && !parent))
        return nullptr;
    width = std::max(width, 1);
    height = std::max(height, 1);

    auto* record = new (std::nothrow) WindowRecord{};
    if (!record)
        return nullptr;
    record->owner = std::this_thread::get_id();
    record->className = className;
    record->module = module;
    record->procedure = procedure;
    record->text = title ? title : "";
    WindowRecord* parentRecord = child ? x11::recordOf(parent) : nullptr;
    if (parentRecord && parentRecord->owner == record->owner && !parentRecord->gone) {
        record->host = x11::connectionOwner(parentRecord);
        record->parent = parentRecord;
        record->display = record->host->display;
    } else {
        record->display = XOpenDisplay(nullptr);
    }
    if (!record->display || !x11::makeBacking(*record, width, height) ||
        (edit && !x11::makeEditState(*record, title, style))) {
        x11::release(record, false);
        return nullptr;
    }
    Display* display = record->display;
    bool made = false;
    {
        x11::ErrorTrap trap(display);
        record->root = DefaultRootWindow(display);
        const ::Window parentId = child ? x11::xid(parent) : record->root;
        XWindowAttributes parentAttributes;
        if (XGetWindowAttributes(display, parentId, &parentAttributes) && trap.errors() == 0) {
            record->root = parentAttributes.root;
            record->visual = parentAttributes.visual;
            record->depth = parentAttributes.depth;
            // The parent's visual need not be the screen's default, and a
            // window of another visual than its parent's needs a colour map
            // and a border of its own.
            record->colormap =
                XCreateColormap(display, parentId, parentAttributes.visual, AllocNone);
            XSetWindowAttributes attributes{};
            attributes.colormap = record->colormap;
            attributes.border_pixel = 0;
            attributes.background_pixmap = None; // every pixel is ours to paint
            attributes.event_mask = ExposureMask | ButtonPressMask | StructureNotifyMask;
            if (edit)
                attributes.event_mask |= KeyPressMask | FocusChangeMask;
            record->id =
                XCreateWindow(display, parentId, x, y, static_cast<unsigned int>(width),
                              static_cast<unsigned int>(height), 0, parentAttributes.depth,
                              InputOutput, parentAttributes.visual,
                              CWColormap | CWBorderPixel | CWBackPixmap | CWEventMask, &attributes);
            XStoreName(display, record->id, title ? title : "");
            XSync(display, False);
            made = record->id != 0 && trap.errors() == 0 &&
                   record->presenter.create(display, record->id, record->visual, record->depth,
                                            width, height);
            if (made && (style & StyleVisible))
                XMapWindow(display, record->id);
            XSync(display, False);
            made = made && trap.errors() == 0;
        }
    }
    if (!made) {
        x11::release(record, record->id != 0);
        return nullptr;
    }
    if (record->host)
        record->host->guests.push_back(record);
    x11::enrol(record);
    // An edit window shows its text from the start.
    if (record->edit)
        x11::drawEdit(*record);
    return x11::handleOf(record->id);
}

bool destroyWindow(Window* window) {
    WindowRecord* record = x11::recordOf(window);
    if (!record || record->destroying)
        return false;
    record->destroying = true;
    x11::send(record, MessageDestroy, 0, 0);
    // Then the windows inside it that share its connection, parents first
    // (guests are listed in the order they were made).
    WindowRecord* owner = x11::connectionOwner(record);
    std::vector<WindowRecord*> descendants;
    for (WindowRecord* guest : std::vector<WindowRecord*>(owner->guests)) {
        if (!guest->destroying && x11::isDescendant(guest, record)) {
            guest->destroying = true;
            x11::send(guest, MessageDestroy, 0, 0);
            descendants.push_back(guest);
        }
    }
    for (WindowRecord* guest : descendants)
        x11::withdraw(guest);
    x11::withdraw(record);
    // The server destroys the descendants with the window; the owner of
    // the connection frees the guests with it.
    if (record != owner)
        for (WindowRecord* guest : descendants)
            x11::discard(guest, false);
    x11::discard(record, true);
    return true;
}

bool isWindow(Window* window) {
    if (!window)
        return false;
    if (x11::recordOf(window))
        return true;
    Display* display = x11::connectionFor(window);
    if (!display)
        return false;
    x11::ErrorTrap trap(display);
    XWindowAttributes attributes;
    return XGetWindowAttributes(display, x11::xid(window), &attributes) && trap.errors() == 0;
}

LongParam setWindowUserData(Window* window, LongParam value) {
    WindowRecord* record = x11::recordOf(window);
    return record ? std::exchange(record->userData, value) : 0;
}

LongParam windowUserData(Window* window) {
    WindowRecord* record = x11::recordOf(window);
    return record ? record->userData : 0;
}

MessageResult defaultWindowProcedure(Window* window, std::uint32_t message, WordParam, LongParam) {
    // A paint that nobody drew still validates the window and shows what
    // the backing holds where the window was exposed.
    if (message == MessagePaint) {
        if (WindowRecord* record = x11::recordOf(window); record && record->needsPaint) {
            record->needsPaint = false;
            x11::present(*record, std::exchange(record->exposed, IntRect{}));
        }
    }
    return 0;
}

DeviceContext* windowContext(Window* window) {
    if (!window)
        return raster::createTargetContext(raster::screenMap());
    WindowRecord* record = x11::recordOf(window);
    return record ? raster::createTargetContext(record->backing) : nullptr;
}

bool releaseWindowContext(Window* window, DeviceContext* context) {
    if (!context || context->memory)
        return false;
    WindowRecord* record = x11::recordOf(window);
    if (record && context->target == record->backing)
        x11::present(*record, {});
    raster::deleteContext(context);
    return true;
}

bool hasUpdateRegion(Window* window) {
    WindowRecord* record = x11::recordOf(window);
    return record && record->needsPaint;
}

DeviceContext* beginPaint(Window* window) {
    WindowRecord* record = x11::recordOf(window);
    if (!record)
        return nullptr;
    record->needsPaint = false;
    return raster::createTargetContext(record->backing);
}

void endPaint(Window* window, DeviceContext* context) {
    if (!context || context->memory)
        return;
    WindowRecord* record = x11::recordOf(window);
    if (record && context->target == record->backing)
        x11::present(*record, std::exchange(record->exposed, IntRect{}));
    raster::deleteContext(context);
}

bool invalidateWindow(Window* window) {
    WindowRecord* record = x11::recordOf(window);
    if (!record)
        return false;
    record->needsPaint = true;
    record->paintRequested = true;
    record->exposed = {0, 0, record->backing->width, record->backing->height};
    return true;
}

void dispatchWindowEvents(Window* window) {
    WindowRecord* found = x11::recordOf(window);
    if (!found)
        return;
    // The connection's owner drains it for every window on it.
    WindowRecord* owner = x11::connectionOwner(found);
    if (owner->dispatching)
        return;
    owner->dispatching = true;
    owner->paintDue = owner->paintDue || owner->paintRequested;
    for (WindowRecord* guest : owner->guests)
        guest->paintDue = guest->paintDue || guest->paintRequested;
    while (!owner->gone) {
        XEvent event;
        if (!x11::nextEvent(*owner, event))
            break;
        WindowRecord* record = x11::targetOf(owner, event.xany.window);
        if (!record || record->gone)
            continue;
        switch (event.type) {
        case Expose: {
            const XExposeEvent& e = event.xexpose;
            record->exposed =
                x11::unite(record->exposed, {e.x, e.y, e.x + e.width, e.y + e.height});
            record->needsPaint = true;
            record->paintDue = true;
            break;
        }
        case ButtonPress:
            // What was exposed before the press is painted before it.
            if (record->paintDue)
                x11::deliverPaint(record);
            if (!record->gone)
                x11::deliverPress(record, event.xbutton);
            break;
        case KeyPress:
            x11::deliverKey(record, event.xkey);
            break;
        case FocusOut:
            x11::deliverFocusOut(record, event.xfocus);
            break;
        case DestroyNotify:
            // The host destroyed its window, and ours with it.
            if (event.xdestroywindow.window == record->id && !record->destroying) {
                record->destroying = true;
                x11::send(record, MessageDestroy, 0, 0);
                x11::withdraw(record);
                if (record->host)
                    x11::discard(record, false);
            }
            break;
        default:
            break;
        }
    }
    // Paints are not lost with a window that went meanwhile: the list is
    // a copy, and records of this connection are freed only below.
    if (!owner->gone) {
        std::vector<WindowRecord*> windows{owner};
        windows.insert(windows.end(), owner->guests.begin(), owner->guests.end());
        for (WindowRecord* record : windows)
            if (record->paintDue && !record->gone)
                x11::deliverPaint(record);
    }
    owner->dispatching = false;
    for (WindowRecord* guest : std::exchange(owner->departed, {}))
        x11::release(guest, false);
    if (owner->gone)
        x11::release(owner, false);
}

Window* parentWindow(Window* window) {
    Display* display = x11::connectionFor(window);
    if (!display || !window)
        return nullptr;
    x11::ErrorTrap trap(display);
    ::Window root = 0;
    ::Window parent = 0;
    ::Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, x11::xid(window), &root, &parent, &children, &count))
        return nullptr;
    if (children)
        XFree(children);
    // A top-level window has no parent, as on the platform we stand in for.
    return parent == root ? nullptr : x11::handleOf(parent);
}

bool windowRect(Window* window, IntRect& rect) {
    Display* display = x11::connectionFor(window);
    if (!display || !window)
        return false;
    x11::ErrorTrap trap(display);
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, x11::xid(window), &attributes))
        return false;
    int x = 0;
    int y = 0;
    ::Window child = 0;
    if (!XTranslateCoordinates(display, x11::xid(window), attributes.root, 0, 0, &x, &y, &child) ||
        trap.errors() != 0)
        return false;
    const int border = attributes.border_width;
    rect = {x - border, y - border, x + attributes.width + border, y + attributes.height + border};
    return true;
}

bool mapWindowPoints(Window* from, Window* to, IntPoint* points, std::int32_t count) {
    if (!points && count > 0)
        return false;
    WindowRecord* record = x11::serving(from ? from : to);
    if (!record)
        return false;
    Display* display = record->display;
    x11::ErrorTrap trap(display);
    const ::Window root = record->root;
    int dx = 0;
    int dy = 0;
    ::Window child = 0;
    if (!XTranslateCoordinates(display, from ? x11::xid(from) : root, to ? x11::xid(to) : root, 0,
                               0, &dx, &dy, &child) ||
        trap.errors() != 0)
        return false;
    for (std::int32_t i = 0; i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    return true;
}

bool resizeWindow(Window* window, std::int32_t width, std::int32_t height) {
    if (width < 0 || height < 0)
        return false;
    Display* display = x11::connectionFor(window);
    if (!display || !window)
        return false;
    WindowRecord* record = x11::recordOf(window);
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (record && (width != record->backing->width || height != record->backing->height)) {
        PixelMap* old = record->backing;
        PixelMap* map = raster::newPixelMap(width, height, false, x11::buttonFace);
        if (!map)
            return false;
        for (std::int32_t y = 0; y < std::min(height, old->height); ++y)
            for (std::int32_t x = 0; x < std::min(width, old->width); ++x)
                raster::plot(map, x, y, raster::readPixel(old, x, y));
        raster::takeDamage(map);
        x11::ErrorTrap trap(display);
        record->presenter.destroy(display);
        if (!record->presenter.create(display, record->id, record->visual, record->depth, width,
                                      height)) {
            raster::freePixelMap(map);
            record->presenter.create(display, record->id, record->visual, record->depth, old->width,
                                     old->height);
            return false;
        }
        x11::freeBacking(*record);
        raster::holdTarget(map);
        record->backing = map;
        x11::editResized(*record);
        invalidateWindow(window);
    }
    x11::ErrorTrap trap(display);
    XResizeWindow(display, x11::xid(window), static_cast<unsigned int>(width),
                  static_cast<unsigned int>(height));
    XSync(display, False);
    return trap.errors() == 0;
}

bool bringWindowToTop(Window* window) {
    Display* display = x11::connectionFor(window);
    if (!display || !window)
        return false;
    x11::ErrorTrap trap(display);
    XRaiseWindow(display, x11::xid(window));
    XSync(display, False);
    return trap.errors() == 0;
}

std::int32_t dialogFrameHeight() {
    return 3;
}

} // namespace platform

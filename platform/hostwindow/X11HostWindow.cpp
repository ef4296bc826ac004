// The host window on an X server: a top-level window on a connection of
// its own. The plug-in opens its editor as a child of this window on its
// own connection, so the two never share a Display; nothing here calls
// XInitThreads, and the pointer injector has a third connection for its
// thread.

#include "platform/HostWindow.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <cstdlib>
#include <poll.h>
#include <unistd.h>
#include <unordered_map>

namespace platform {

namespace {

// Where the window appears when no window manager places it.
constexpr int WindowX = 64;
constexpr int WindowY = 64;
// How long the server may take to show the window.
constexpr auto MapTimeout = std::chrono::seconds(5);
// The window's own fill: a colour no editor is likely to show at all of
// the points that are probed for its paint.
constexpr ColorWord RequestedFill = colorWord(0x2B, 0x11, 0x5E);

std::string noDisplayReason() {
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name)
        return "no X display to show the editor on (DISPLAY is not set)";
    return "cannot open the X display '" + std::string(name) + "'";
}

// Scales the bits of `pixel` under `mask` to 0..255.
std::uint8_t channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0)
        return 0;
    int shift = 0;
    while (((mask >> shift) & 1) == 0)
        ++shift;
    const unsigned long maximum = mask >> shift;
    const unsigned long value = (pixel & mask) >> shift;
    return static_cast<std::uint8_t>((value * 255 + maximum / 2) / maximum);
}

// Errors for requests made while a window may be going away are expected;
// the handler is the process's, so it is only swapped in around them.
int ignoreError(Display*, XErrorEvent*) {
    return 0;
}

bool waitReadable(Display* display, int milliseconds) {
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    return poll(&connection, 1, milliseconds) > 0;
}

} // namespace

struct HostWindow::State {
    Display* display = nullptr;
    ::Window window = 0;
    Visual* visual = nullptr;
    Colormap colormap = 0;
    Atom protocols = 0;
    Atom deleteWindow = 0;
    unsigned long fillPixel = 0;
    ColorWord fill = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool closeRequested = false;
    bool destroyed = false;

    ColorWord toColor(unsigned long pixel) const {
        if (visual->c_class == TrueColor || visual->c_class == DirectColor) {
            return colorWord(channel(pixel, visual->red_mask), channel(pixel, visual->green_mask),
                             channel(pixel, visual->blue_mask));
        }
        XColor color{};
        color.pixel = pixel;
        XQueryColor(display, colormap, &color);
        return colorWord(static_cast<std::uint8_t>(color.red >> 8),
                         static_cast<std::uint8_t>(color.green >> 8),
                         static_cast<std::uint8_t>(color.blue >> 8));
    }

    void handle(const XEvent& event) {
        if (event.type == ClientMessage && event.xclient.window == window &&
            event.xclient.message_type == protocols &&
            static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow) {
            closeRequested = true;
        } else if (event.type == DestroyNotify && event.xdestroywindow.window == window) {
            destroyed = true;
        }
    }

    void drain() {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            handle(event);
        }
    }

    bool waitUntilMapped() {
        const auto deadline = std::chrono::steady_clock::now() + MapTimeout;
        for (;;) {
            while (XPending(display)) {
                XEvent event;
                XNextEvent(display, &event);
                if (event.type == MapNotify && event.xmap.window == window)
                    return true;
                handle(event);
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                return false;
            waitReadable(display, static_cast<int>(left.count()));
        }
    }
};

HostWindow::HostWindow(std::unique_ptr<State> made) : state(std::move(made)) {}

HostWindow::~HostWindow() {
    if (!state->destroyed) {
        XDestroyWindow(state->display, state->window);
        XSync(state->display, False);
    }
    XCloseDisplay(state->display);
}

std::unique_ptr<HostWindow> HostWindow::open(const std::string& title, std::int32_t width,
                                             std::int32_t height, std::string& failure) {
    auto state = std::make_unique<State>();
    state->display = XOpenDisplay(nullptr);
    if (!state->display) {
        failure = noDisplayReason();
        return nullptr;
    }
    Display* display = state->display;
    const int screen = DefaultScreen(display);
    state->visual = DefaultVisual(display, screen);
    state->colormap = DefaultColormap(display, screen);

    XColor fill{};
    fill.red = static_cast<unsigned short>(redOf(RequestedFill) * 257);
    fill.green = static_cast<unsigned short>(greenOf(RequestedFill) * 257);
    fill.blue = static_cast<unsigned short>(blueOf(RequestedFill) * 257);
    fill.flags = DoRed | DoGreen | DoBlue;
    state->fillPixel =
        XAllocColor(display, state->colormap, &fill) ? fill.pixel : BlackPixel(display, screen);
    state->fill = state->toColor(state->fillPixel);

    state->width = width;
    state->height = height;
    state->window = XCreateSimpleWindow(display, RootWindow(display, screen), WindowX, WindowY,
                                        static_cast<unsigned>(width), static_cast<unsigned>(height),
                                        0, BlackPixel(display, screen), state->fillPixel);
    XSelectInput(display, state->window, StructureNotifyMask);
    XStoreName(display, state->window, title.c_str());
    XClassHint classHint{const_cast<char*>("varnex"), const_cast<char*>("Varnex")};
    XSetClassHint(display, state->window, &classHint);
    // The editor has one size: the window is not to be resized.
    XSizeHints* size = XAllocSizeHints();
    if (size) {
        size->flags = PPosition | PMinSize | PMaxSize;
        size->x = WindowX;
        size->y = WindowY;
        size->min_width = size->max_width = width;
        size->min_height = size->max_height = height;
        XSetWMNormalHints(display, state->window, size);
        XFree(size);
    }
    const long pid = static_cast<long>(getpid());
    XChangeProperty(display, state->window, XInternAtom(display, "_NET_WM_PID", False), XA_CARDINAL,
                    32, PropModeReplace, reinterpret_cast<const unsigned char*>(&pid), 1);
    state->protocols = XInternAtom(display, "WM_PROTOCOLS", False);
    state->deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, state->window, &state->deleteWindow, 1);
    XMapWindow(display, state->window);
    XFlush(display);
    if (!state->waitUntilMapped()) {
        failure = "the X server did not show the window within 5 s";
        XDestroyWindow(display, state->window);
        XCloseDisplay(display);
        return nullptr;
    }
    return std::unique_ptr<HostWindow>(new HostWindow(std::move(state)));
}

void* HostWindow::nativeHandle() const {
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(state->window));
}

bool HostWindow::pumpEvents(std::int32_t milliseconds) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    for (;;) {
        state->drain();
        if (closed() || interruptRequested())
            break;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        // A signal ends the wait early; the loop then sees the flag.
        waitReadable(state->display, static_cast<int>(left.count()));
    }
    return !closed();
}

bool HostWindow::closed() const {
    return state->closeRequested || state->destroyed;
}

IntPoint HostWindow::clientOrigin() const {
    int x = 0;
    int y = 0;
    ::Window child = 0;
    if (!state->destroyed)
        XTranslateCoordinates(state->display, state->window, DefaultRootWindow(state->display), 0,
                              0, &x, &y, &child);
    return {x, y};
}

bool HostWindow::readPixel(std::int32_t x, std::int32_t y, ColorWord& color) const {
    if (state->destroyed)
        return false;
    // The image of a window holds what its children show there too.
    auto* previous = XSetErrorHandler(ignoreError);
    XImage* image = XGetImage(state->display, state->window, x, y, 1, 1, AllPlanes, ZPixmap);
    XSetErrorHandler(previous);
    if (!image)
        return false;
    const unsigned long pixel = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    color = state->toColor(pixel);
    return true;
}

bool HostWindow::readClientArea(ScreenPicture& picture) const {
    if (state->destroyed)
        return false;
    auto* previous = XSetErrorHandler(ignoreError);
    XImage* image =
        XGetImage(state->display, state->window, 0, 0, static_cast<unsigned>(state->width),
                  static_cast<unsigned>(state->height), AllPlanes, ZPixmap);
    XSetErrorHandler(previous);
    if (!image)
        return false;
    picture.width = state->width;
    picture.height = state->height;
    picture.pixels.resize(static_cast<std::size_t>(state->width) *
                          static_cast<std::size_t>(state->height));
    // An editor shows few colours; each pixel value is turned into one once.
    std::unordered_map<unsigned long, ColorWord> colors;
    std::size_t at = 0;
    for (int y = 0; y < state->height; ++y) {
        for (int x = 0; x < state->width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            auto [known, added] = colors.try_emplace(pixel);
            if (added)
                known->second = state->toColor(pixel);
            picture.pixels[at++] = known->second;
        }
    }
    XDestroyImage(image);
    return true;
}

ColorWord HostWindow::fillColor() const {
    return state->fill;
}

struct PointerInjector::State {
    Display* display = nullptr;
};

PointerInjector::PointerInjector(std::unique_ptr<State> made) : state(std::move(made)) {}

PointerInjector::~PointerInjector() {
    XCloseDisplay(state->display);
}

std::unique_ptr<PointerInjector> PointerInjector::open(std::string& failure) {
    auto state = std::make_unique<State>();
    state->display = XOpenDisplay(nullptr);
    if (!state->display) {
        failure = noDisplayReason();
        return nullptr;
    }
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(state->display, &event, &error, &major, &minor)) {
        failure = "the X server has no XTest extension to move the pointer with";
        XCloseDisplay(state->display);
        return nullptr;
    }
    return std::unique_ptr<PointerInjector>(new PointerInjector(std::move(state)));
}

bool PointerInjector::moveTo(std::int32_t screenX, std::int32_t screenY) {
    const bool sent = XTestFakeMotionEvent(state->display, -1, screenX, screenY, CurrentTime);
    XSync(state->display, False);
    return sent;
}

bool PointerInjector::setLeftButton(bool down) {
    const bool sent =
        XTestFakeButtonEvent(state->display, Button1, down ? True : False, CurrentTime);
    XSync(state->display, False);
    return sent;
}

} // namespace platform

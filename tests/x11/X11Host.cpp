#include "tests/x11/X11Host.h"

#include "tests/support/PngFile.h"
#include "tests/support/RunCommand.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <dlfcn.h>

#include <algorithm>
#include <mutex>
#include <sstream>
#include <thread>

namespace {

constexpr std::int32_t OpClose = 1;
constexpr std::int32_t OpSuspendResume = 12;
constexpr std::int32_t OpEditorOpen = 14;
constexpr std::int32_t OpEditorClose = 15;
constexpr std::int32_t OpEditorIdle = 19;
constexpr std::int32_t HostAutomate = 0;
constexpr std::int32_t HostVersion = 1;
constexpr std::int32_t HostIdle = 3;

using EntryFunction = EffectRecord*(VARNEX_CALL*)(HostCallback);

// The binary stays loaded for the whole program, as in a host that keeps
// its plug-ins.
EntryFunction pluginEntry() {
    static EntryFunction entry = [] {
        void* library = dlopen(VARNEX_PLUGIN_FILE, RTLD_NOW | RTLD_LOCAL);
        return library ? reinterpret_cast<EntryFunction>(dlsym(library, "main")) : nullptr;
    }();
    return entry;
}

} // namespace

bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(2ms);
    }
    return true;
}

Display* openConnection(const std::string& displayName) {
    return XOpenDisplay(displayName.c_str());
}

void closeConnection(Display* display) {
    if (display)
        XCloseDisplay(display);
}

bool serverHasExtension(Display* display, const char* name) {
    int opcode = 0;
    int event = 0;
    int error = 0;
    return XQueryExtension(display, name, &opcode, &event, &error);
}

std::string windowTitle(Display* display, WindowId window) {
    char* name = nullptr;
    if (!XFetchName(display, window, &name) || !name)
        return {};
    std::string title = name;
    XFree(name);
    return title;
}

void exposeWindow(Display* display, WindowId window) {
    XClearArea(display, window, 0, 0, 0, 0, True);
    waitUntilSent(display);
}

void waitUntilSent(Display* display) {
    XSync(display, False);
    // The server answers the second question only after it has sent what
    // it had for every client when it answered the first.
    XSync(display, False);
}

namespace {
std::atomic<int> hostErrors{0};
XErrorHandler replacedHandler = nullptr;

int countHostError(Display*, XErrorEvent*) {
    ++hostErrors;
    return 0;
}
} // namespace

HostErrorHandler::HostErrorHandler() {
    hostErrors = 0;
    replacedHandler = XSetErrorHandler(&countHostError);
}

bool HostErrorHandler::restore() {
    return XSetErrorHandler(replacedHandler) == &countHostError;
}

int HostErrorHandler::errors() {
    return hostErrors.load();
}

// --- PluginInstance ---------------------------------------------------------

PluginInstance::PluginInstance() {
    if (EntryFunction entry = pluginEntry())
        record = entry(&PluginInstance::callback);
    if (record)
        record->user = this;
}

PluginInstance::~PluginInstance() {
    if (!record)
        return;
    if (open)
        closeEditor();
    dispatch(OpClose);
}

IntPtr PluginInstance::dispatch(std::int32_t opcode, std::int32_t index, IntPtr value, void* ptr,
                                float opt) {
    return record->dispatch(record, opcode, index, value, ptr, opt);
}

float PluginInstance::parameter(std::int32_t index) {
    return record->parameterValue(record, index);
}

void PluginInstance::openEditor(WindowId parent) {
    dispatch(OpEditorOpen, 0, 0, reinterpret_cast<void*>(static_cast<std::uintptr_t>(parent)));
    open = true;
}

void PluginInstance::closeEditor() {
    dispatch(OpEditorClose);
    open = false;
}

void PluginInstance::idle() {
    dispatch(OpEditorIdle);
}

std::vector<float> PluginInstance::process(const std::vector<float>& input) {
    dispatch(OpSuspendResume, 0, 0);
    dispatch(OpSuspendResume, 0, 1);
    std::vector<float> left = input;
    std::vector<float> right(input.rbegin(), input.rend());
    std::vector<float> out(input.size() * 2);
    float* inputs[2] = {left.data(), right.data()};
    float* outputs[2] = {out.data(), out.data() + input.size()};
    record->processOverwriting(record, inputs, outputs, static_cast<std::int32_t>(input.size()));
    return out;
}

int PluginInstance::automations(std::int32_t index) const {
    return automationCounts[index].load();
}

float PluginInstance::lastAutomatedValue(std::int32_t index) const {
    return automatedValues[index].load();
}

IntPtr VARNEX_CALL PluginInstance::callback(EffectRecord* record, std::int32_t opcode,
                                            std::int32_t index, IntPtr, void*, float opt) {
    if (opcode == HostVersion)
        return 2400;
    auto* self = record ? static_cast<PluginInstance*>(record->user) : nullptr;
    if (!self)
        return 0;
    if (opcode == HostIdle)
        ++self->idles;
    if (opcode == HostAutomate && index >= 0 && index < 8) {
        self->automatedValues[index].store(opt);
        ++self->automationCounts[index];
    }
    return 0;
}

// --- HostWindow -------------------------------------------------------------

HostWindow::HostWindow(Display* display, int x, int y, int width, int height) : display(display) {
    XSetWindowAttributes attributes{};
    attributes.background_pixel = WhitePixel(display, DefaultScreen(display));
    attributes.override_redirect = True;
    window =
        XCreateWindow(display, DefaultRootWindow(display), x, y, static_cast<unsigned int>(width),
                      static_cast<unsigned int>(height), 0, CopyFromParent, InputOutput,
                      CopyFromParent, CWBackPixel | CWOverrideRedirect, &attributes);
    XStoreName(display, window, "VarnexTestHost");
    XMapWindow(display, window);
    XSync(display, False);
}

HostWindow::~HostWindow() {
    destroy();
}

void HostWindow::destroy() {
    if (!window)
        return;
    XDestroyWindow(display, window);
    XSync(display, False);
    window = 0;
}

void HostWindow::takeFocusOnPress() {
    XSelectInput(display, window, ButtonPressMask);
    XSync(display, False);
}

void takeFocusOnPresses(Display* display) {
    while (XPending(display)) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == ButtonPress)
            XSetInputFocus(display, event.xbutton.window, RevertToParent, CurrentTime);
    }
    XSync(display, False);
}

WindowId inputFocus(Display* display) {
    ::Window focus = 0;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    return focus;
}

WindowId popupAt(Display* display, int x, int y) {
    ::Window root = 0;
    ::Window parent = 0;
    ::Window* list = nullptr;
    unsigned int count = 0;
    WindowId found = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &list, &count))
        return 0;
    for (unsigned int i = 0; i < count && !found; ++i) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display, list[i], &attributes) && attributes.override_redirect &&
            attributes.map_state == IsViewable && attributes.x == x && attributes.y == y)
            found = list[i];
    }
    if (list)
        XFree(list);
    return found;
}

std::vector<WindowId> HostWindow::children() const {
    std::vector<WindowId> found;
    ::Window root = 0;
    ::Window parent = 0;
    ::Window* list = nullptr;
    unsigned int count = 0;
    if (window && XQueryTree(display, window, &root, &parent, &list, &count)) {
        found.assign(list, list + count);
        if (list)
            XFree(list);
    }
    return found;
}

// --- pictures ---------------------------------------------------------------

Picture Picture::crop(int left, int top, int right, int bottom) const {
    Picture part;
    part.width = right - left;
    part.height = bottom - top;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            part.pixels.push_back(at(x, y));
    return part;
}

Picture grabWindow(Display* display, WindowId window) {
    Picture picture;
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes))
        return picture;
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned int>(attributes.width),
                              static_cast<unsigned int>(attributes.height), AllPlanes, ZPixmap);
    if (!image)
        return picture;
    const Visual* visual = attributes.visual;
    const auto part = [](unsigned long pixel, unsigned long mask) {
        const int shift = __builtin_ctzl(mask);
        const int bits = __builtin_popcountl(mask);
        const unsigned long value = (pixel & mask) >> shift;
        return static_cast<std::uint32_t>(bits >= 8 ? value >> (bits - 8) : value << (8 - bits));
    };
    picture.width = attributes.width;
    picture.height = attributes.height;
    picture.pixels.reserve(static_cast<std::size_t>(picture.width) * picture.height);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            picture.pixels.push_back(part(pixel, visual->red_mask) |
                                     part(pixel, visual->green_mask) << 8 |
                                     part(pixel, visual->blue_mask) << 16);
        }
    }
    XDestroyImage(image);
    return picture;
}

std::string describeDifference(const Picture& expected, const Picture& actual) {
    std::ostringstream text;
    if (expected.width != actual.width || expected.height != actual.height) {
        text << "size " << actual.width << " x " << actual.height << ", expected " << expected.width
             << " x " << expected.height;
        return text.str();
    }
    int count = 0;
    int firstX = -1;
    int firstY = -1;
    for (int y = 0; y < expected.height; ++y) {
        for (int x = 0; x < expected.width; ++x) {
            if (expected.at(x, y) != actual.at(x, y) && count++ == 0) {
                firstX = x;
                firstY = y;
            }
        }
    }
    text << count << " pixels differ";
    if (count > 0) {
        text << std::hex << ", first at (" << std::dec << firstX << ", " << firstY << "): 0x"
             << std::hex << actual.at(firstX, firstY) << " instead of 0x"
             << expected.at(firstX, firstY);
    }
    return text.str();
}

namespace {

Picture readPng(const std::string& path) {
    const RgbImage image = readRgbPng(path);
    Picture picture;
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    for (std::size_t i = 0; i + 2 < image.rgb.size(); i += 3)
        picture.pixels.push_back(image.rgb[i] | image.rgb[i + 1] << 8 | image.rgb[i + 2] << 16);
    return picture;
}

} // namespace

const Picture& snapshotPicture(std::string& whyMissing) {
    static std::string reason;
    static const Picture picture = [] {
        ScratchFolder folder;
        const std::string file = folder.file("editor.png");
        const CommandResult result =
            runCommand(shellQuoted(VARNEX_CLI_FILE) + " snapshot -o " + shellQuoted(file));
        if (result.exitCode != 0) {
            reason = "varnex snapshot failed: " + result.err;
            return Picture{};
        }
        Picture read = readPng(file);
        if (read.width == 0)
            reason = "cannot read the snapshot " + file;
        return read;
    }();
    whyMissing = reason;
    return picture;
}

// --- driving ----------------------------------------------------------------

bool idleUntil(Display* display, const std::vector<PluginInstance*>& editors,
               const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        for (PluginInstance* editor : editors)
            editor->idle();
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
        }
        if (done())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(2ms);
    }
}

Hand::Hand(const std::string& displayName) : display(XOpenDisplay(displayName.c_str())) {}

Hand::~Hand() {
    if (!display)
        return;
    for (unsigned int button = 1; button <= 5; ++button)
        if (held & (1u << button))
            release(button);
    XCloseDisplay(display);
}

void Hand::moveTo(int screenX, int screenY) {
    if (!display)
        return;
    XTestFakeMotionEvent(display, -1, screenX, screenY, CurrentTime);
    XSync(display, False);
}

void Hand::press(unsigned int button) {
    if (!display)
        return;
    XTestFakeButtonEvent(display, button, True, CurrentTime);
    XSync(display, False);
    held |= 1u << button;
}

void Hand::release(unsigned int button) {
    if (!display)
        return;
    XTestFakeButtonEvent(display, button, False, CurrentTime);
    XSync(display, False);
    held &= ~(1u << button);
}

void Hand::tapKey(const char* name) {
    if (!display)
        return;
    const KeyCode code = XKeysymToKeycode(display, XStringToKeysym(name));
    XTestFakeKeyEvent(display, code, True, CurrentTime);
    XTestFakeKeyEvent(display, code, False, CurrentTime);
    XSync(display, False);
}

void Hand::clickAt(int screenX, int screenY, unsigned int button) {
    moveTo(screenX, screenY);
    press(button);
    release(button);
}

bool performGesture(Display* display, const std::vector<PluginInstance*>& editors,
                    const std::function<bool(Hand&)>& gesture, std::chrono::milliseconds limit) {
    std::atomic<bool> finished{false};
    std::atomic<bool> succeeded{false};
    const std::string name = DisplayString(display);
    std::thread hand([&] {
        {
            Hand user(name);
            succeeded = gesture(user);
        }
        finished = true;
    });
    const bool ended = idleUntil(
        display, editors, [&] { return finished.load(); }, limit);
    hand.join();
    // Whatever the hand did last reaches the editors.
    for (PluginInstance* editor : editors)
        editor->idle();
    return ended && succeeded;
}

bool pointerInjectionAvailable(Display* display) {
    int event = 0;
    int error = 0;
    int major = 0;
    int minor = 0;
    return XTestQueryExtension(display, &event, &error, &major, &minor);
}

void screenOrigin(Display* display, WindowId window, int& x, int& y) {
    ::Window child = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
}

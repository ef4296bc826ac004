// What the X11 window backend costs on a real X server (a private Xvfb):
// presenting the whole editor's picture to a window, through shared memory
// and over the connection, and a host's editor idle when nothing changed,
// through the built plug-in as a host loads it.

#include "host/EffectRecord.h"
#include "platform/Drawing.h"
#include "platform/Windowing.h"
#include "platform/raster/Objects.h"
#include "tests/support/VirtualDisplay.h"

#include <X11/Xlib.h>
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <thread>

namespace {

constexpr int EditorWidth = 568;
constexpr int EditorHeight = 290;

// A top-level window on a connection of the benchmark's own.
struct HostWindow {
    explicit HostWindow(const std::string& displayName)
        : display(XOpenDisplay(displayName.c_str())) {
        if (!display)
            return;
        XSetWindowAttributes attributes{};
        attributes.override_redirect = True;
        window = XCreateWindow(display, DefaultRootWindow(display), 20, 20, EditorWidth,
                               EditorHeight, 0, CopyFromParent, InputOutput, CopyFromParent,
                               CWOverrideRedirect, &attributes);
        XMapWindow(display, window);
        XSync(display, False);
    }
    ~HostWindow() {
        if (!display)
            return;
        XDestroyWindow(display, window);
        XCloseDisplay(display);
    }
    platform::Window* handle() const {
        return reinterpret_cast<platform::Window*>(static_cast<std::uintptr_t>(window));
    }

    Display* display;
    ::Window window = 0;
};

platform::MessageResult plainProcedure(platform::Window* window, std::uint32_t message,
                                       platform::WordParam wParam, platform::LongParam lParam) {
    return platform::defaultWindowProcedure(window, message, wParam, lParam);
}

// The whole 568 x 290 picture shown anew, each time with other pixels.
// Argument: 1 through MIT-SHM, 0 over the connection.
void presentFullEditor(benchmark::State& state) {
    const bool sharedMemory = state.range(0) != 0;
    VirtualDisplay server(sharedMemory ? std::vector<std::string>{}
                                       : std::vector<std::string>{"-extension", "MIT-SHM"});
    if (!server.available()) {
        state.SkipWithError(server.whyUnavailable().c_str());
        return;
    }
    setenv("DISPLAY", server.displayName().c_str(), 1);
    HostWindow host(server.displayName());
    platform::registerWindowClass("VarnexBench", &plainProcedure, nullptr);
    platform::Window* window = platform::createWindow(
        "VarnexBench", "Window", platform::StyleChild | platform::StyleVisible, 0, 0, EditorWidth,
        EditorHeight, host.handle(), nullptr);
    if (!window) {
        state.SkipWithError("no window");
        return;
    }
    platform::ColorWord colour = 0;
    for (auto _ : state) {
        platform::DeviceContext* context = platform::windowContext(window);
        state.PauseTiming();
        colour = (colour + 0x010203) & 0xFFFFFF;
        for (platform::ColorWord& pixel : context->target->pixels)
            pixel = colour;
        platform::raster::plot(context->target, 0, 0, colour);
        platform::raster::plot(context->target, EditorWidth - 1, EditorHeight - 1, colour);
        state.ResumeTiming();
        platform::releaseWindowContext(window, context);
    }
    platform::destroyWindow(window);
    platform::unregisterWindowClass("VarnexBench", nullptr);
}
BENCHMARK(presentFullEditor)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

IntPtr VARNEX_CALL quietHost(EffectRecord*, std::int32_t opcode, std::int32_t, IntPtr, void*,
                             float) {
    return opcode == 1 ? 2400 : 0;
}

// The host's editor idle (opcode 19) on an open, painted editor in which
// nothing changed: a drain of an empty connection and a refresh that draws
// nothing.
void idleWithNothingToRedraw(benchmark::State& state) {
    VirtualDisplay server;
    if (!server.available()) {
        state.SkipWithError(server.whyUnavailable().c_str());
        return;
    }
    setenv("DISPLAY", server.displayName().c_str(), 1);
    using Entry = EffectRecord*(VARNEX_CALL*)(HostCallback);
    void* library = dlopen(VARNEX_PLUGIN_FILE, RTLD_NOW | RTLD_LOCAL);
    auto entry = library ? reinterpret_cast<Entry>(dlsym(library, "main")) : nullptr;
    EffectRecord* record = entry ? entry(&quietHost) : nullptr;
    if (!record) {
        state.SkipWithError("cannot load the plug-in");
        return;
    }
    {
        HostWindow host(server.displayName());
        record->dispatch(record, 14, 0, 0, host.handle(), 0.0f);
        // Time for the window's first exposure to arrive and be painted.
        for (int i = 0; i < 50; ++i) {
            record->dispatch(record, 19, 0, 0, nullptr, 0.0f);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        for (auto _ : state)
            record->dispatch(record, 19, 0, 0, nullptr, 0.0f);
        record->dispatch(record, 15, 0, 0, nullptr, 0.0f);
    }
    record->dispatch(record, 1, 0, 0, nullptr, 0.0f);
}
BENCHMARK(idleWithNothingToRedraw);

} // namespace

BENCHMARK_MAIN();

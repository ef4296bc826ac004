// What the X11 window backend costs on a real X server (a private Xvfb):
// presenting the whole editor's picture to a window, through shared memory
// and over the connection, and a host's editor idle when nothing changed,
// through the built plug-in as a host loads it, back to back and paced as
// a host gives it.

#include "host/EffectRecord.h"
#include "platform/Drawing.h"
#include "platform/Windowing.h"
#include "platform/raster/Objects.h"
#include "tests/support/VirtualDisplay.h"

#include <X11/Xlib.h>
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

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

// The built plug-in, loaded as a host loads it, with its editor open in a
// window of the benchmark's and painted.
class LoadedEditor {
  public:
    explicit LoadedEditor(const std::string& displayName) : host(displayName) {
        using Entry = EffectRecord*(VARNEX_CALL*)(HostCallback);
        library = dlopen(VARNEX_PLUGIN_FILE, RTLD_NOW | RTLD_LOCAL);
        auto entry = library ? reinterpret_cast<Entry>(dlsym(library, "main")) : nullptr;
        record = entry && host.display ? entry(&quietHost) : nullptr;
        if (!record)
            return;
        dispatch(14, host.handle());
        // Time for the window's first exposure to arrive and be painted.
        for (int i = 0; i < 50; ++i) {
            idle();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    ~LoadedEditor() {
        if (record) {
            dispatch(15, nullptr);
            dispatch(1, nullptr);
        }
    }
    LoadedEditor(const LoadedEditor&) = delete;
    LoadedEditor& operator=(const LoadedEditor&) = delete;

    bool loaded() const { return record != nullptr; }
    void idle() { dispatch(19, nullptr); }

  private:
    void dispatch(std::int32_t opcode, void* pointer) {
        record->dispatch(record, opcode, 0, 0, pointer, 0.0f);
    }

    HostWindow host;
    void* library = nullptr;
    EffectRecord* record = nullptr;
};

// The host's editor idle (opcode 19) on an open, painted editor in which
// nothing changed: a drain of an empty connection and a refresh that draws
// nothing. Argument: the host's idle period in milliseconds. 0 calls back
// to back, with everything the call touches warm in the caches; 33 gives
// it as a host does, about 30 times a second, asleep in between, so that
// each call starts as cold as a host's does. The paced run reports the
// median call as well, since a call preempted by another program counts
// in the mean.
void idleWithNothingToRedraw(benchmark::State& state) {
    VirtualDisplay server;
    if (!server.available()) {
        state.SkipWithError(server.whyUnavailable().c_str());
        return;
    }
    setenv("DISPLAY", server.displayName().c_str(), 1);
    LoadedEditor editor(server.displayName());
    if (!editor.loaded()) {
        state.SkipWithError("cannot load the plug-in or open its host window");
        return;
    }
    const auto period = std::chrono::milliseconds(state.range(0));
    if (period.count() == 0) {
        for (auto _ : state)
            editor.idle();
        return;
    }
    using Clock = std::chrono::steady_clock;
    std::vector<double> calls;
    calls.reserve(static_cast<std::size_t>(state.max_iterations));
    for (auto _ : state) {
        std::this_thread::sleep_for(period);
        const auto before = Clock::now();
        editor.idle();
        const std::chrono::duration<double> call = Clock::now() - before;
        state.SetIterationTime(call.count());
        calls.push_back(call.count() * 1e6);
    }
    std::nth_element(calls.begin(), calls.begin() + calls.size() / 2, calls.end());
    state.counters["median_us"] = calls[calls.size() / 2];
}
BENCHMARK(idleWithNothingToRedraw)->Arg(0);
BENCHMARK(idleWithNothingToRedraw)->Arg(33)->UseManualTime()->Iterations(90);

} // namespace

BENCHMARK_MAIN();

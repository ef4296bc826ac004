#pragma once
// The host's side of the window system, for a program that shows a
// plug-in's editor: a top-level window of its own whose native handle a
// plug-in takes as the parent of its editor, the pump for that window's
// events, pointer input injected as a user's hand would give it, and the
// process-wide things such a program needs (Ctrl-C, CPU time, standard
// output with plain line ends).
//
// One backend per build: X11 on Linux (a connection of the window's own;
// the plug-in keeps its own connection), Win32 on Windows.

#include "platform/Types.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// Pixels read back from the screen, row by row from the top.
struct ScreenPicture {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<ColorWord> pixels;

    bool operator==(const ScreenPicture&) const = default;
};

class HostWindow {
  public:
    // Opens and shows a top-level window whose client area is width x
    // height, and waits (bounded) until the window system shows it. None,
    // with a one-line reason in `failure`, when there is no window system
    // to talk to (no display) or the window cannot be made.
    static std::unique_ptr<HostWindow> open(const std::string& title, std::int32_t width,
                                            std::int32_t height, std::string& failure);
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    // What a plug-in takes as its parent window: the X11 window id cast to
    // a pointer, or the HWND.
    void* nativeHandle() const;

    // Handles the window's events for up to `milliseconds`, returning
    // sooner once the user has closed the window (the window manager's
    // close request, or its destruction) or Ctrl-C was pressed. False once
    // the window has been closed.
    bool pumpEvents(std::int32_t milliseconds);
    bool closed() const;

    // The top-left corner of the client area in screen coordinates.
    IntPoint clientOrigin() const;

    // The colour that the screen shows at client point (x, y), whatever
    // window drew it (a plug-in's child included). False when it cannot be
    // read.
    bool readPixel(std::int32_t x, std::int32_t y, ColorWord& color) const;
    // The whole client area as the screen shows it, in one read: the
    // plug-in's child windows included, and whatever else covers the
    // window. False when it cannot be read.
    bool readClientArea(ScreenPicture& picture) const;
    // What readPixel gives where the window shows only its own fill.
    ColorWord fillColor() const;

    struct State;

  private:
    explicit HostWindow(std::unique_ptr<State> state);
    std::unique_ptr<State> state;
};

// Pointer input injected into the window system, as real presses and moves
// that every window and every poll of the pointer sees. Made to be used
// from a thread of its own while the window's thread is held by a plug-in's
// mouse-tracking loop: on X11 it has its own connection; on Win32 it sends
// input to the system.
class PointerInjector {
  public:
    // None, with a one-line reason in `failure`, when input cannot be
    // injected (no display, or no XTest extension).
    static std::unique_ptr<PointerInjector> open(std::string& failure);
    ~PointerInjector();
    PointerInjector(const PointerInjector&) = delete;
    PointerInjector& operator=(const PointerInjector&) = delete;

    // Each call returns once the window system has taken the input.
    bool moveTo(std::int32_t screenX, std::int32_t screenY);
    bool setLeftButton(bool down);

    struct State;

  private:
    explicit PointerInjector(std::unique_ptr<State> state);
    std::unique_ptr<State> state;
};

// Installs the handler that turns Ctrl-C (and, on POSIX, SIGTERM) into a
// flag instead of ending the process. Waits in pumpEvents end early on it.
void watchForInterrupt();
bool interruptRequested();

// CPU time (user and system) used so far by the whole process, and by the
// calling thread, in seconds.
double processCpuSeconds();
double threadCpuSeconds();

// Lines written to standard output and error end in a bare line feed
// (Windows' C library would otherwise write CR LF). Call before any output.
void useBinaryStandardStreams();

} // namespace platform

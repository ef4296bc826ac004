#pragma once
// Child windows, their window class, message delivery and geometry, with
// the semantics of the USER32 calls named in the comments. A window's
// messages go to the procedure of its class; the backend decides where
// paints and button presses come from (a real window system, or a test).

#include "platform/Types.h"

#include <cstdint>

namespace platform {

// Message numbers delivered to window procedures.
enum WindowMessage : std::uint32_t {
    MessageDestroy = 0x0002,
    MessagePaint = 0x000F,
    MessageLeftButtonDown = 0x0201,
    MessageRightButtonDown = 0x0204,
};

constexpr std::uint32_t StyleChild = 0x40000000;
constexpr std::uint32_t StyleVisible = 0x10000000;

// The position word of a button message: x in the low 16 bits, y in the
// high 16 bits, each a signed client coordinate.
constexpr LongParam packPosition(std::int32_t x, std::int32_t y) {
    return static_cast<LongParam>((static_cast<std::uint32_t>(y) & 0xFFFF) << 16 |
                                  (static_cast<std::uint32_t>(x) & 0xFFFF));
}
constexpr std::int32_t positionX(LongParam position) {
    return static_cast<std::int16_t>(position & 0xFFFF);
}
constexpr std::int32_t positionY(LongParam position) {
    return static_cast<std::int16_t>((position >> 16) & 0xFFFF);
}

using WindowProcedure = MessageResult (*)(Window* window, std::uint32_t message, WordParam wParam,
                                          LongParam lParam);

// A class with style 0, the arrow cursor and the button-face background
// (RegisterClassA). False when the name is taken or the call fails.
bool registerWindowClass(const char* name, WindowProcedure procedure, void* module);
bool unregisterWindowClass(const char* name, void* module);   // UnregisterClassA
bool isWindowClassRegistered(const char* name, void* module); // GetClassInfoA

// CreateWindowExA with extended style 0, no menu and no creation data.
Window* createWindow(const char* className, const char* title, std::uint32_t style, std::int32_t x,
                     std::int32_t y, std::int32_t width, std::int32_t height, Window* parent,
                     void* module);
// Sends the destroy message to the window and then to its descendants, and
// frees them (DestroyWindow). False for a window that does not exist.
bool destroyWindow(Window* window);
bool isWindow(Window* window); // IsWindow

LongParam setWindowUserData(Window* window, LongParam value); // SetWindowLongA, GWL_USERDATA
LongParam windowUserData(Window* window);                     // GetWindowLongA, GWL_USERDATA
MessageResult defaultWindowProcedure(Window* window, std::uint32_t message, WordParam wParam,
                                     LongParam lParam); // DefWindowProcA

// A context on the window's client area, or on the whole screen for none
// (GetDC); given back with releaseWindowContext (ReleaseDC).
DeviceContext* windowContext(Window* window);
bool releaseWindowContext(Window* window, DeviceContext* context);

// True when part of the window waits to be painted (GetUpdateRect).
bool hasUpdateRegion(Window* window);
// BeginPaint / EndPaint: the context covers the client area; beginning a
// paint validates the window.
DeviceContext* beginPaint(Window* window);
void endPaint(Window* window, DeviceContext* context);
// Marks the whole client area as waiting to be painted (InvalidateRect).
bool invalidateWindow(Window* window);

// Hands the window's procedure the events that its window system holds
// for it: paints, button presses, its destruction. Where the host's own
// message loop delivers them (Win32) this does nothing; where the window
// has a connection of its own (X11), the editor's idle drains it here. A
// call made while the window's procedure is already handling an event
// returns at once.
void dispatchWindowEvents(Window* window);

Window* parentWindow(Window* window); // GetParent
// The window's outer rectangle in screen coordinates (GetWindowRect).
bool windowRect(Window* window, IntRect& rect);
// Maps points from the client coordinates of `from` to those of `to`; none
// stands for the screen (MapWindowPoints).
bool mapWindowPoints(Window* from, Window* to, IntPoint* points, std::int32_t count);
// Resizes without moving or changing the stacking order (SetWindowPos with
// SWP_NOMOVE | SWP_NOZORDER).
bool resizeWindow(Window* window, std::int32_t width, std::int32_t height);
bool bringWindowToTop(Window* window); // BringWindowToTop
// Height of a dialog frame border (GetSystemMetrics SM_CYDLGFRAME).
std::int32_t dialogFrameHeight();

} // namespace platform

#pragma once
// The keyboard side of the window system: the single-line edit window, the
// keyboard focus, messages sent to a window, and replacing a window's
// procedure, with the semantics of the USER32 calls named in the comments.
//
// An edit window is made with createWindow and the class name "EDIT". On
// Windows it is the system's own control; elsewhere the backend draws an
// in-place editor of its own with the raster and the toolkit's font. Either
// way it takes the window's title as its text, edits it under the keyboard
// (characters, backspace, delete, left/right, home/end at least), and hands
// its procedure the focus and key messages below, so that a replacement
// procedure sees the same messages on every backend.

#include "platform/Types.h"
#include "platform/Windowing.h"

#include <cstdint>

namespace platform {

constexpr const char* EditClassName = "EDIT";

// Messages of keyboard windows (with those of Windowing.h).
enum KeyboardMessage : std::uint32_t {
    MessageKillFocus = 0x0008, // wParam: the window taking the focus, or 0
    MessageSetFont = 0x0030,   // wParam: the Font*, lParam: redraw when non-zero
    MessageKeyDown = 0x0100,   // wParam: the virtual-key code
    MessageChar = 0x0102,      // wParam: the character
    MessageEditSetMargins = 0x00D3, // wParam: which margins, lParam: left | right << 16
};

// Edit window styles (with StyleChild and StyleVisible).
constexpr std::uint32_t EditStyleCentre = 0x0001;         // ES_CENTER
constexpr std::uint32_t EditStyleAutoScroll = 0x0080;     // ES_AUTOHSCROLL
constexpr WordParam EditLeftMargin = 0x0001;              // EC_LEFTMARGIN
constexpr WordParam EditRightMargin = 0x0002;             // EC_RIGHTMARGIN

// Virtual-key codes of the keys an edit window handles.
enum VirtualKey : std::int32_t {
    KeyBackspace = 0x08,
    KeyReturn = 0x0D,
    KeyEscape = 0x1B,
    KeyEnd = 0x23,
    KeyHome = 0x24,
    KeyLeft = 0x25,
    KeyUp = 0x26,
    KeyRight = 0x27,
    KeyDown = 0x28,
    KeyDelete = 0x2E,
};

// Calls the window's procedure with the message and returns its result
// (SendMessageA); 0 for a window that does not exist.
MessageResult sendMessage(Window* window, std::uint32_t message, WordParam wParam,
                          LongParam lParam);

// Gives the keyboard focus to the window; the window losing it receives
// MessageKillFocus first. Returns the window that had the focus, or none
// (SetFocus). The focus window of the calling thread (GetFocus).
Window* setFocus(Window* window);
Window* focusWindow();

// Replaces the window's procedure and returns the one it had
// (SetWindowLongA with GWL_WNDPROC). The returned procedure may be one the
// backend made to stand for a procedure of its own (a system control's),
// so call it only through callWindowProcedure. None for a window that does
// not exist.
WindowProcedure setWindowProcedure(Window* window, WindowProcedure procedure);
MessageResult callWindowProcedure(WindowProcedure procedure, Window* window,
                                  std::uint32_t message, WordParam wParam,
                                  LongParam lParam); // CallWindowProcA

// Copies at most limit - 1 characters of the window's text (an edit
// window's contents) into `buffer`, NUL-terminated; returns the count
// copied (GetWindowTextA). 0 with an empty buffer for a window that does
// not exist.
std::int32_t windowText(Window* window, char* buffer, std::int32_t limit);

} // namespace platform

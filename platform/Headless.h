#pragma once
// The headless window backend's controls for whoever drives it: a test or
// the command-line host. Windows are pictures in memory; nothing reaches a
// screen. The driver creates stand-ins for host windows, delivers paints
// and button presses to windows, scripts what the pointer and the buttons
// report to polls, steers the clock, and reads back the pixels.

#include "platform/Types.h"

#include <cstdint>
#include <vector>

namespace platform::headless {

// Button and modifier bits of a pointer state.
enum PointerBits : std::uint32_t {
    PointerLeft = 1,
    PointerMiddle = 2,
    PointerRight = 4,
    PointerShift = 8,
    PointerControl = 16,
    PointerAlt = 32,
};

// What the pointer reports: a screen position and the keys held down.
struct PointerState {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::uint32_t buttons = 0;
};

// A top-level window standing in for the window a host gives a plug-in,
// placed at (x, y) on the screen. Destroy it with destroyWindow.
Window* createHostWindow(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height);

// Invalidates the window and hands it a paint message. Returns false for a
// window that does not exist.
bool deliverPaint(Window* window);
// Puts the pointer on the client point (x, y) with `buttons` held and
// hands the window the button-down message: the right-button message when
// `buttons` has the right button and not the left, else the left one.
bool deliverButtonPress(Window* window, std::int32_t x, std::int32_t y, std::uint32_t buttons);

// Sets the pointer's steady state and forgets any script.
void setPointer(const PointerState& state);
// Queues states for the coming polls: every position poll moves on to the
// next queued state, and button polls report the state last moved to.
// When the queue runs dry the pointer stays where it is and all buttons
// read as released, so that a tracking loop always ends.
void scriptPointer(const std::vector<PointerState>& steps);
PointerState pointer();
std::size_t pendingPointerSteps();

// The clock: real milliseconds by default; once set, it stands still and
// moves only through advanceClock.
void setClock(std::uint32_t milliseconds);
void advanceClock(std::uint32_t milliseconds);
void useRealClock();
// Waits return at once and leave the clock alone; this counts the
// milliseconds asked for since the program started.
std::uint64_t waitedMilliseconds();

// The keyboard: key-down messages go to the focus window (setFocus); for a
// key that makes a character, the character message follows, as a real
// keyboard would deliver them. False when no window has the focus.
bool pressKey(std::int32_t virtualKey);
bool typeText(const char* text);

// What a user does while a popup menu is open. trackPopupMenu takes the
// scripted steps one after another: moving the pointer (screen
// coordinates), a click there, or a key (a VirtualKey of TextEditing.h).
// When the script runs dry with the menu still open, the menu is
// cancelled, so that tracking always ends.
struct MenuStep {
    enum Kind { Move, Click, Key } kind = Move;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t key = 0;
};
void scriptMenu(const std::vector<MenuStep>& steps);
// The last popup list shown: its screen rectangle and its pixels as they
// were before the step that closed it.
IntRect lastMenuRect();
std::vector<ColorWord> lastMenuPixels(std::int32_t& width, std::int32_t& height);

// The window's client pixels, row by row from the top, each a ColorWord;
// empty for a window that does not exist.
std::vector<ColorWord> windowPixels(Window* window, std::int32_t& width, std::int32_t& height);
std::int32_t childWindowCount(Window* window);
Window* childWindow(Window* window, std::int32_t index);
std::int32_t liveWindowCount();

} // namespace platform::headless

#pragma once
// Popup menus and the messages waiting for a window, with the semantics of
// the USER32 calls named in the comments. On Windows the menu is the
// system's; elsewhere the backend shows a popup list of its own, drawn with
// the raster and the toolkit's font: it highlights the entry under the
// pointer, a click or return chooses, Escape or a click outside cancels,
// up and down move the highlight over everything but separators, and the
// checked entry is marked.

#include "platform/Types.h"

#include <cstdint>

namespace platform {

struct Menu;

// Entry flags (MF_STRING, MF_CHECKED, MF_SEPARATOR).
constexpr std::uint32_t MenuString = 0x0000;
constexpr std::uint32_t MenuChecked = 0x0008;
constexpr std::uint32_t MenuSeparator = 0x0800;

// The message a chosen entry posts to the menu's owner: wParam holds the
// entry's identifier in its low 16 bits and 0 in its high 16 bits.
constexpr std::uint32_t MessageCommand = 0x0111;

Menu* createPopupMenu(); // CreatePopupMenu
// Appends an entry; `text` is ignored for a separator (AppendMenuA).
bool appendMenu(Menu* menu, std::uint32_t flags, std::uintptr_t identifier, const char* text);
bool destroyMenu(Menu* menu); // DestroyMenu

// Shows the menu with its top-left corner at the screen point (x, y) and
// returns when the user chose an entry or cancelled; a choice posts
// MessageCommand to `owner`. False when the menu could not be shown
// (TrackPopupMenu with flags 0).
bool trackPopupMenu(Menu* menu, std::int32_t x, std::int32_t y, Window* owner);

// A message posted to a window and not yet handled.
struct PostedMessage {
    Window* window = nullptr;
    std::uint32_t message = 0;
    WordParam wParam = 0;
    LongParam lParam = 0;
};

// Takes the first message waiting for `window` whose number lies in
// first..last (both 0: any), removing it; false when none waits
// (PeekMessageA with PM_REMOVE). Messages of other windows stay.
bool takeMessage(PostedMessage& message, Window* window, std::uint32_t first, std::uint32_t last);

} // namespace platform

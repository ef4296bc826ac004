#pragma once
// The popup list that backends without system menus show for
// trackPopupMenu: the entries, the list's size and drawing, and what the
// pointer and the keys do to it, independent of any window system. The
// backend shows the list in a window of the list's size, feeds it the
// user's actions in the list's client coordinates and runs until the list
// is no longer open.

#include "platform/Types.h"

#include <cstdint>
#include <string>
#include <vector>

namespace platform::widgets {

// One entry of a popup menu as appendMenu gives it.
struct MenuEntry {
    std::string text;
    std::uintptr_t identifier = 0;
    bool separator = false;
    bool checked = false;
};

// An entry from appendMenu's flags (MenuSeparator, MenuChecked) and text.
MenuEntry makeMenuEntry(std::uint32_t flags, std::uintptr_t identifier, const char* text);

class PopupList {
  public:
    enum class State { Open, Chosen, Cancelled };

    explicit PopupList(std::vector<MenuEntry> entries);
    ~PopupList();
    PopupList(const PopupList&) = delete;
    PopupList& operator=(const PopupList&) = delete;

    // The window size the list needs: as wide as its widest text with room
    // for the check mark and margins, as high as its rows (separator rows
    // are thinner). At least 1 x 1 even when empty.
    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }
    // Client rectangle of entry `index`'s row; empty for a bad index.
    IntRect rowRect(std::int32_t index) const;
    // The entry whose row holds the client point, or -1.
    std::int32_t entryAt(std::int32_t x, std::int32_t y) const;

    const std::vector<MenuEntry>& entries() const { return entries_; }
    // The highlighted entry, or -1; never a separator.
    std::int32_t highlighted() const { return highlighted_; }
    State state() const { return state_; }
    // The chosen entry's identifier; meaningful once state() is Chosen.
    std::uintptr_t chosenIdentifier() const;

    // The pointer moved to the client point: the entry under it becomes the
    // highlighted one (none over a separator or outside). True when the
    // highlight changed.
    bool pointerMove(std::int32_t x, std::int32_t y);
    // A click at the client point: on an entry it chooses it, on a
    // separator nothing happens, outside the list it cancels. True when
    // anything changed.
    bool click(std::int32_t x, std::int32_t y);
    // Up and down move the highlight over the entries that are not
    // separators, wrapping around; return chooses the highlighted entry;
    // Escape cancels. True when anything changed.
    bool key(std::int32_t virtualKey);
    // Ends an open list without a choice (the script ran dry, the window
    // went away).
    void cancel();

    // The whole client area.
    void draw(DeviceContext* context) const;

  private:
    void layout();
    std::int32_t step(std::int32_t from, std::int32_t direction) const;

    std::vector<MenuEntry> entries_;
    std::vector<std::int32_t> rowTops_;
    std::int32_t width_ = 1;
    std::int32_t height_ = 1;
    std::int32_t highlighted_ = -1;
    std::int32_t chosen_ = -1;
    State state_ = State::Open;
    Font* font_;
};

} // namespace platform::widgets

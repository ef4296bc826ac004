#pragma once
// A text box showing the current one of a list of entries; a left click
// opens a popup menu of all entries under it and the chosen one becomes
// current. The entry "-" is a separator, which cannot be chosen. The
// control's value stays as it is: the listener reads the current entry.

#include "gui/ValueDisplay.h"

#include <array>
#include <vector>

namespace platform {
struct Menu;
}

namespace choiceMenuStyle {
inline constexpr std::int32_t openOverBox = 0x200;  // the menu's top at the box's top, not below it
inline constexpr std::int32_t checkCurrent = 0x400; // the current entry is checked in the menu
} // namespace choiceMenuStyle

class ChoiceMenu : public ValueDisplay {
  public:
    static constexpr std::int32_t maxEntries = 128;
    static constexpr std::int32_t textCapacity = 256; // of one entry, with the terminator

    // Both pictures, if given, are retained; the pressed background shows
    // while the menu is open.
    ChoiceMenu(const Rect& size, ControlListener* listener, std::int32_t tag, Bitmap* background,
               Bitmap* pressedBackground, std::int32_t style);
    ~ChoiceMenu() override;

    // The current entry's text; nothing while there is none.
    void draw(DrawContext& context) override;
    // The left button alone opens the menu.
    void mouseDown(DrawContext& context, Point where) override;
    void releaseFocus() override;
    // Shows the menu and waits for the choice; a chosen entry becomes
    // current and is reported.
    void acquireFocus() override;

    // Inserts before entry `index`, or appends for an index below 0 or
    // above the count; the current entry keeps its place in the list.
    // False when the menu is full. No text gives an empty entry.
    virtual bool insertItem(const char* text, std::int32_t index = -1);
    // Copies the current entry's text into `out` (256 bytes; empty while
    // there is none) and returns its index, -1 for none.
    virtual std::int32_t currentItem(char* out) const;
    // False for an index out of range or a separator.
    virtual bool selectItem(std::int32_t index);
    virtual bool itemText(std::int32_t index, char* out) const;
    // Removes an entry; the current index follows its entry, or moves to
    // the one before when its own entry goes.
    virtual bool deleteItem(std::int32_t index);
    virtual void deleteAllItems();
    virtual std::int32_t itemCount() const;

    std::int32_t currentIndex() const { return current; }
    Bitmap* pressedBackground() const { return pressedPicture; }
    platform::Menu* menu() const { return openMenu; }

  private:
    using Entry = std::array<char, textCapacity>;

    bool inRange(std::int32_t index) const {
        return index >= 0 && index < static_cast<std::int32_t>(entries.size());
    }
    static bool isSeparator(const Entry& entry);
    // Shows the menu; the entry chosen, or -1.
    std::int32_t trackChoice();

    platform::Menu* openMenu = nullptr;
    std::vector<Entry> entries;
    std::int32_t current = -1;
    Bitmap* pressedPicture;
};

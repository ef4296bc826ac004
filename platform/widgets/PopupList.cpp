// The popup list: a bordered column of rows on the menu face, a check
// column on the left, the highlighted row inverted in the selection colour.

#include "platform/widgets/PopupList.h"

#include "platform/Drawing.h"
#include "platform/Menus.h"
#include "platform/TextEditing.h"
#include "platform/widgets/PlainFont.h"

#include <algorithm>
#include <utility>

namespace platform::widgets {
namespace {

constexpr std::int32_t border = 1;
constexpr std::int32_t checkColumn = 20; // room for the check mark left of the text
constexpr std::int32_t rightMargin = 20;
constexpr std::int32_t rowPadding = 6; // added to the line height of an entry's row
constexpr std::int32_t separatorHeight = 7;
constexpr std::int32_t minimumTextWidth = 40;

constexpr ColorWord menuFace = colorWord(240, 240, 240);
constexpr ColorWord edgeColor = colorWord(150, 150, 150);
constexpr ColorWord textColor = colorWord(0, 0, 0);
constexpr ColorWord selectionColor = colorWord(0, 120, 215);
constexpr ColorWord selectedTextColor = colorWord(255, 255, 255);

void fill(DeviceContext* context, const IntRect& rect, ColorWord color) {
    if (Brush* brush = createSolidBrush(color)) {
        fillRect(context, rect, brush);
        deleteBrush(brush);
    }
}

// A tick two pixels thick, centred on (x, y).
void drawCheckMark(DeviceContext* context, std::int32_t x, std::int32_t y, ColorWord color) {
    Pen* pen = createPen(PenStyle::Solid, 1, color);
    if (!pen)
        return;
    Pen* old = selectPen(context, pen);
    for (std::int32_t thickness = 0; thickness < 2; ++thickness) {
        const IntPoint tick[] = {
            {x - 4, y + thickness - 1}, {x - 1, y + thickness + 2}, {x + 5, y + thickness - 4}};
        polyline(context, tick, 3);
    }
    selectPen(context, old);
    deletePen(pen);
}

} // namespace

MenuEntry makeMenuEntry(std::uint32_t flags, std::uintptr_t identifier, const char* text) {
    MenuEntry entry;
    entry.identifier = identifier;
    entry.separator = (flags & MenuSeparator) != 0;
    entry.checked = (flags & MenuChecked) != 0;
    if (!entry.separator && text)
        entry.text = text;
    return entry;
}

PopupList::PopupList(std::vector<MenuEntry> entries)
    : entries_(std::move(entries)), font_(createPlainFont()) {
    layout();
}

PopupList::~PopupList() {
    if (font_)
        deleteFont(font_);
}

void PopupList::layout() {
    const std::int32_t entryHeight = lineHeight(font_) + rowPadding;
    std::int32_t widest = minimumTextWidth;
    std::int32_t y = border;
    rowTops_.clear();
    for (const MenuEntry& entry : entries_) {
        rowTops_.push_back(y);
        y += entry.separator ? separatorHeight : entryHeight;
        widest = std::max(widest, textWidth(font_, entry.text.data(),
                                            static_cast<std::int32_t>(entry.text.size())));
    }
    width_ = 2 * border + checkColumn + widest + rightMargin;
    height_ = std::max(y + border, 1);
}

IntRect PopupList::rowRect(std::int32_t index) const {
    if (index < 0 || index >= static_cast<std::int32_t>(entries_.size()))
        return {};
    const auto i = static_cast<std::size_t>(index);
    const std::int32_t bottom = i + 1 < rowTops_.size() ? rowTops_[i + 1] : height_ - border;
    return {border, rowTops_[i], width_ - border, bottom};
}

std::int32_t PopupList::entryAt(std::int32_t x, std::int32_t y) const {
    if (x < border || x >= width_ - border)
        return -1;
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(entries_.size()); ++i) {
        const IntRect row = rowRect(i);
        if (y >= row.top && y < row.bottom)
            return i;
    }
    return -1;
}

std::uintptr_t PopupList::chosenIdentifier() const {
    return chosen_ >= 0 ? entries_[static_cast<std::size_t>(chosen_)].identifier : 0;
}

bool PopupList::pointerMove(std::int32_t x, std::int32_t y) {
    if (state_ != State::Open)
        return false;
    std::int32_t under = entryAt(x, y);
    if (under >= 0 && entries_[static_cast<std::size_t>(under)].separator)
        under = -1;
    return std::exchange(highlighted_, under) != under;
}

bool PopupList::click(std::int32_t x, std::int32_t y) {
    if (state_ != State::Open)
        return false;
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        cancel();
        return true;
    }
    const std::int32_t under = entryAt(x, y);
    if (under < 0 || entries_[static_cast<std::size_t>(under)].separator)
        return false;
    highlighted_ = chosen_ = under;
    state_ = State::Chosen;
    return true;
}

bool PopupList::key(std::int32_t virtualKey) {
    if (state_ != State::Open)
        return false;
    switch (virtualKey) {
    case KeyUp:
    case KeyDown: {
        const std::int32_t next = step(highlighted_, virtualKey == KeyDown ? 1 : -1);
        return std::exchange(highlighted_, next) != next;
    }
    case KeyReturn:
        if (highlighted_ < 0)
            return false;
        chosen_ = highlighted_;
        state_ = State::Chosen;
        return true;
    case KeyEscape:
        cancel();
        return true;
    default:
        return false;
    }
}

std::int32_t PopupList::step(std::int32_t from, std::int32_t direction) const {
    const auto count = static_cast<std::int32_t>(entries_.size());
    // From no highlight, down starts at the top and up at the bottom.
    std::int32_t index = from < 0 ? (direction > 0 ? count - 1 : 0) : from;
    for (std::int32_t tries = 0; tries < count; ++tries) {
        index = (index + direction + count) % count;
        if (!entries_[static_cast<std::size_t>(index)].separator)
            return index;
    }
    return from;
}

void PopupList::cancel() {
    if (state_ == State::Open)
        state_ = State::Cancelled;
}

void PopupList::draw(DeviceContext* context) const {
    if (!context)
        return;
    fill(context, {0, 0, width_, height_}, edgeColor);
    fill(context, {border, border, width_ - border, height_ - border}, menuFace);
    Font* oldFont = selectFont(context, font_);
    const BackgroundMode oldMode = setBackgroundMode(context, BackgroundMode::Transparent);
    const ColorWord oldInk = setTextColor(context, textColor);
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(entries_.size()); ++i) {
        const MenuEntry& entry = entries_[static_cast<std::size_t>(i)];
        const IntRect row = rowRect(i);
        const std::int32_t middle = (row.top + row.bottom) / 2;
        if (entry.separator) {
            fill(context, {row.left + 2, middle, row.right - 2, middle + 1}, edgeColor);
            continue;
        }
        const bool lit = i == highlighted_;
        if (lit)
            fill(context, row, selectionColor);
        const ColorWord ink = lit ? selectedTextColor : textColor;
        if (entry.checked)
            drawCheckMark(context, row.left + checkColumn / 2, middle, ink);
        setTextColor(context, ink);
        drawText(context, entry.text.data(), static_cast<std::int32_t>(entry.text.size()),
                 {row.left + checkColumn, row.top, row.right, row.bottom},
                 TextLeft | TextSingleLine | TextVerticalCenter);
    }
    setTextColor(context, oldInk);
    setBackgroundMode(context, oldMode);
    if (oldFont)
        selectFont(context, oldFont);
}

} // namespace platform::widgets

#include "gui/ChoiceMenu.h"

#include "gui/Bitmap.h"
#include "gui/Frame.h"
#include "platform/Menus.h"
#include "platform/Windowing.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {
constexpr std::uint32_t firstButtonMessage = 0x0201;
constexpr std::uint32_t lastButtonMessage = 0x0208;

void copyText(char* to, const char* from) {
    std::snprintf(to, ChoiceMenu::textCapacity, "%s", from ? from : "");
}
} // namespace

ChoiceMenu::ChoiceMenu(const Rect& size, ControlListener* listener, std::int32_t tag,
                       Bitmap* background, Bitmap* pressedBackground, std::int32_t style)
    : ValueDisplay(size, listener, tag, background, style), pressedPicture(pressedBackground) {
    entries.reserve(maxEntries);
    if (pressedPicture)
        pressedPicture->retain();
}

ChoiceMenu::~ChoiceMenu() {
    if (pressedPicture)
        pressedPicture->release();
}

bool ChoiceMenu::isSeparator(const Entry& entry) {
    return std::strcmp(entry.data(), "-") == 0;
}

void ChoiceMenu::draw(DrawContext& context) {
    char text[textCapacity] = "";
    currentItem(text);
    drawTextBox(context, text, backgroundPicture);
}

void ChoiceMenu::mouseDown(DrawContext& context, Point) {
    if (!isMouseActive || !ownerFrame || context.queryMouseButtons() != MouseLeft)
        return;
    if (pressedPicture) {
        char text[textCapacity] = "";
        currentItem(text);
        drawTextBox(context, text, pressedPicture);
    }
    ownerFrame->setKeyboardView(this);
    acquireFocus();
}

void ChoiceMenu::acquireFocus() {
    if (!ownerFrame)
        return;
    const std::int32_t chosen = trackChoice();
    if (ownerFrame->keyboardView() == this)
        ownerFrame->setKeyboardView(nullptr);
    if (chosen < 0 && !pressedPicture)
        return;
    platform::Window* window = ownerFrame->window();
    platform::DeviceContext* deviceContext = platform::windowContext(window);
    {
        DrawContext context(ownerFrame, deviceContext, window);
        if (chosen >= 0) {
            current = chosen;
            if (controlListener)
                controlListener->controlChanged(context, this);
        }
        draw(context);
    }
    platform::releaseWindowContext(window, deviceContext);
}

std::int32_t ChoiceMenu::trackChoice() {
    using namespace platform;
    Window* owner = ownerFrame->window();
    openMenu = createPopupMenu();
    if (!openMenu)
        return -1;
    const bool checkCurrent = (styleBits & choiceMenuStyle::checkCurrent) != 0;
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(entries.size()); ++i) {
        const Entry& entry = entries[static_cast<std::size_t>(i)];
        std::uint32_t flags = MenuString;
        if (isSeparator(entry))
            flags = MenuSeparator;
        else if (checkCurrent && i == current)
            flags |= MenuChecked;
        appendMenu(openMenu, flags, static_cast<std::uintptr_t>(i), entry.data());
    }
    IntRect screen;
    windowRect(owner, screen);
    const std::int32_t x = screen.left + size.left;
    const std::int32_t y =
        screen.top + ((styleBits & choiceMenuStyle::openOverBox) ? size.top : size.bottom);

    std::int32_t chosen = -1;
    if (trackPopupMenu(openMenu, x, y, owner)) {
        PostedMessage message;
        if (takeMessage(message, owner, MessageCommand, MessageCommand) &&
            (message.wParam >> 16 & 0xFFFF) == 0) {
            const auto index = static_cast<std::int32_t>(message.wParam & 0xFFFF);
            if (inRange(index))
                chosen = index;
        }
    }
    // The press or release that closed the menu must not reach the frame
    // as a new press.
    for (int i = 0; i < 2; ++i) {
        PostedMessage stray;
        takeMessage(stray, owner, firstButtonMessage, lastButtonMessage);
    }
    destroyMenu(openMenu);
    openMenu = nullptr;
    return chosen;
}

void ChoiceMenu::releaseFocus() {
    openMenu = nullptr;
}

bool ChoiceMenu::insertItem(const char* text, std::int32_t index) {
    if (static_cast<std::int32_t>(entries.size()) >= maxEntries)
        return false;
    Entry entry{};
    copyText(entry.data(), text);
    // An index past the end appends, as an index below 0 does.
    if (index < 0 || index > static_cast<std::int32_t>(entries.size())) {
        entries.push_back(entry);
    } else {
        entries.insert(entries.begin() + index, entry);
        if (current >= 0 && index <= current)
            ++current;
    }
    if (current < 0)
        current = 0;
    return true;
}

std::int32_t ChoiceMenu::currentItem(char* out) const {
    if (out)
        copyText(out, inRange(current) ? entries[static_cast<std::size_t>(current)].data() : "");
    return current;
}

bool ChoiceMenu::selectItem(std::int32_t index) {
    if (!inRange(index) || isSeparator(entries[static_cast<std::size_t>(index)]))
        return false;
    current = index;
    forceRedraw();
    return true;
}

bool ChoiceMenu::itemText(std::int32_t index, char* out) const {
    if (!inRange(index))
        return false;
    if (out)
        copyText(out, entries[static_cast<std::size_t>(index)].data());
    return true;
}

bool ChoiceMenu::deleteItem(std::int32_t index) {
    if (!inRange(index))
        return false;
    entries.erase(entries.begin() + index);
    if (entries.empty())
        current = -1;
    else if (index <= current)
        current = std::max(current - 1, 0);
    return true;
}

void ChoiceMenu::deleteAllItems() {
    entries.clear();
    current = -1;
}

std::int32_t ChoiceMenu::itemCount() const {
    return static_cast<std::int32_t>(entries.size());
}

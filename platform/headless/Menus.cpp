// Headless popup menus and posted messages. trackPopupMenu shows the menu
// as a popup list in a top-level window and plays the driver's script on
// it; a choice reaches the owner through the queue that takeMessage reads.

#include "platform/Menus.h"
#include "platform/Drawing.h"
#include "platform/Headless.h"
#include "platform/headless/WindowRecord.h"
#include "platform/widgets/PopupList.h"

#include <algorithm>
#include <deque>
#include <set>

namespace platform {

struct Menu {
    std::vector<widgets::MenuEntry> entries;
};

namespace {

std::set<Menu*>& liveMenus() {
    static std::set<Menu*> menus;
    return menus;
}

bool isMenu(Menu* menu) {
    return menu && liveMenus().count(menu) != 0;
}

std::deque<PostedMessage>& postedMessages() {
    static std::deque<PostedMessage> queue;
    return queue;
}

std::deque<headless::MenuStep>& menuScript() {
    static std::deque<headless::MenuStep> steps;
    return steps;
}

struct LastMenu {
    IntRect rect;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<ColorWord> pixels;
};

LastMenu& lastMenu() {
    static LastMenu menu;
    return menu;
}

constexpr const char* popupClassName = "#popup";

// The popup window's procedure: its user data points at the list.
MessageResult popupProcedure(Window* window, std::uint32_t message, WordParam wParam,
                             LongParam lParam) {
    if (message != MessagePaint)
        return defaultWindowProcedure(window, message, wParam, lParam);
    DeviceContext* context = beginPaint(window);
    reinterpret_cast<const widgets::PopupList*>(windowUserData(window))->draw(context);
    endPaint(window, context);
    return 0;
}

void drawList(Window* window, const widgets::PopupList& list) {
    DeviceContext* context = windowContext(window);
    list.draw(context);
    releaseWindowContext(window, context);
}

// Applies one scripted step to the list; (x, y) is the list's screen origin.
bool applyStep(widgets::PopupList& list, const headless::MenuStep& step, std::int32_t x,
               std::int32_t y) {
    switch (step.kind) {
    case headless::MenuStep::Move:
        return list.pointerMove(step.x - x, step.y - y);
    case headless::MenuStep::Click: {
        // The pointer goes where it clicks.
        const bool moved = list.pointerMove(step.x - x, step.y - y);
        return list.click(step.x - x, step.y - y) || moved;
    }
    case headless::MenuStep::Key:
        return list.key(step.key);
    }
    return false;
}

} // namespace

namespace headless {

void dropPostedMessages(Window* window) {
    auto& queue = postedMessages();
    queue.erase(std::remove_if(queue.begin(), queue.end(),
                               [window](const PostedMessage& m) { return m.window == window; }),
                queue.end());
}

void scriptMenu(const std::vector<MenuStep>& steps) {
    menuScript().assign(steps.begin(), steps.end());
}

IntRect lastMenuRect() {
    return lastMenu().rect;
}

std::vector<ColorWord> lastMenuPixels(std::int32_t& width, std::int32_t& height) {
    width = lastMenu().width;
    height = lastMenu().height;
    return lastMenu().pixels;
}

} // namespace headless

Menu* createPopupMenu() {
    auto* menu = new Menu{};
    liveMenus().insert(menu);
    return menu;
}

bool appendMenu(Menu* menu, std::uint32_t flags, std::uintptr_t identifier, const char* text) {
    if (!isMenu(menu))
        return false;
    menu->entries.push_back(widgets::makeMenuEntry(flags, identifier, text));
    return true;
}

bool destroyMenu(Menu* menu) {
    if (!isMenu(menu))
        return false;
    liveMenus().erase(menu);
    delete menu;
    return true;
}

bool trackPopupMenu(Menu* menu, std::int32_t x, std::int32_t y, Window* owner) {
    if (!isMenu(menu) || !headless::exists(owner))
        return false;
    widgets::PopupList list(menu->entries);
    Window* popup = headless::newWindow(nullptr, x, y, list.width(), list.height());
    if (!popup)
        return false;
    popup->className = popupClassName;
    popup->procedure = popupProcedure;
    popup->userData = reinterpret_cast<LongParam>(&list);
    drawList(popup, list);

    LastMenu& last = lastMenu();
    last.rect = {x, y, x + list.width(), y + list.height()};
    auto& script = menuScript();
    while (list.state() == widgets::PopupList::State::Open) {
        last.pixels = headless::windowPixels(popup, last.width, last.height);
        if (script.empty()) {
            list.cancel();
            break;
        }
        const headless::MenuStep step = script.front();
        script.pop_front();
        if (applyStep(list, step, x, y) && list.state() == widgets::PopupList::State::Open)
            drawList(popup, list);
    }
    destroyWindow(popup);

    if (list.state() == widgets::PopupList::State::Chosen && headless::exists(owner))
        postedMessages().push_back(
            {owner, MessageCommand, static_cast<WordParam>(list.chosenIdentifier() & 0xFFFF), 0});
    return true;
}

bool takeMessage(PostedMessage& message, Window* window, std::uint32_t first, std::uint32_t last) {
    auto& queue = postedMessages();
    const bool anyNumber = first == 0 && last == 0;
    const auto found = std::find_if(queue.begin(), queue.end(), [&](const PostedMessage& m) {
        return (!window || m.window == window) &&
               (anyNumber || (m.message >= first && m.message <= last));
    });
    if (found == queue.end())
        return false;
    message = *found;
    queue.erase(found);
    return true;
}

} // namespace platform

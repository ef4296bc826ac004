// Popup menus and posted messages straight from USER32: a Menu is the
// HMENU, and a chosen entry arrives as the WM_COMMAND that the system posts
// to the menu's owner.

#include "platform/Menus.h"

#include "platform/win32/SystemHeaders.h"

namespace platform {
namespace {

HMENU handleOf(Menu* menu) {
    return reinterpret_cast<HMENU>(menu);
}

using win32::handleOf;

} // namespace

Menu* createPopupMenu() {
    return reinterpret_cast<Menu*>(CreatePopupMenu());
}

bool appendMenu(Menu* menu, std::uint32_t flags, std::uintptr_t identifier, const char* text) {
    if (flags & MenuSeparator)
        text = nullptr;
    else if (!text)
        text = "";
    return AppendMenuA(handleOf(menu), flags, identifier, text) != 0;
}

bool destroyMenu(Menu* menu) {
    return DestroyMenu(handleOf(menu)) != 0;
}

bool trackPopupMenu(Menu* menu, std::int32_t x, std::int32_t y, Window* owner) {
    return TrackPopupMenu(handleOf(menu), 0, x, y, 0, handleOf(owner), nullptr) != 0;
}

bool takeMessage(PostedMessage& message, Window* window, std::uint32_t first, std::uint32_t last) {
    MSG taken;
    if (!PeekMessageA(&taken, handleOf(window), first, last, PM_REMOVE))
        return false;
    message.window = reinterpret_cast<Window*>(taken.hwnd);
    message.message = taken.message;
    message.wParam = taken.wParam;
    message.lParam = taken.lParam;
    return true;
}

} // namespace platform

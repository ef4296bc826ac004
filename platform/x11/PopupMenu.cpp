// Popup menus: the popup list shown in an override-redirect window on the
// owner's connection, holding the pointer and the keyboard while the user
// chooses; and the messages posted to this backend's windows.

#include "platform/Menus.h"
#include "platform/TextEditing.h"
#include "platform/raster/Objects.h"
#include "platform/widgets/PopupList.h"
#include "platform/x11/Backend.h"

#include <poll.h>

#include <algorithm>
#include <deque>
#include <mutex>
#include <new>
#include <unordered_set>

namespace platform {

struct Menu {
    std::vector<widgets::MenuEntry> entries;
};

namespace x11 {
namespace {

std::mutex menusLock;
std::unordered_set<Menu*> menus;

bool isMenu(Menu* menu) {
    std::lock_guard<std::mutex> lock(menusLock);
    return menus.count(menu) != 0;
}

std::mutex postedLock;
std::deque<PostedMessage> posted;

void postMessage(const PostedMessage& message) {
    std::lock_guard<std::mutex> lock(postedLock);
    posted.push_back(message);
}

// The button message of a press or release of an X button; 0 for the
// wheel and the other buttons.
std::uint32_t buttonMessage(const XButtonEvent& event) {
    const std::uint32_t up = event.type == ButtonRelease ? 1 : 0;
    switch (event.button) {
    case Button1:
        return MessageLeftButtonDown + up;
    case Button3:
        return MessageRightButtonDown + up;
    case Button2:
        return 0x0207 + up; // the middle button's down and up
    default:
        return 0;
    }
}

struct ButtonQuery {
    ::Window window;
    std::uint32_t first;
    std::uint32_t last;
};

Bool isWantedButton(Display*, XEvent* event, XPointer argument) {
    const auto* query = reinterpret_cast<const ButtonQuery*>(argument);
    if ((event->type != ButtonPress && event->type != ButtonRelease) ||
        event->xbutton.window != query->window)
        return False;
    const std::uint32_t message = buttonMessage(event->xbutton);
    return message != 0 && message >= query->first && message <= query->last;
}

Bool isForWindow(Display*, XEvent* event, XPointer argument) {
    return event->xany.window == *reinterpret_cast<const ::Window*>(argument);
}

// The window of an open popup list and the picture it shows.
class PopupWindow {
  public:
    PopupWindow(Display* display, ::Window root) : display(display), root(root) {}
    ~PopupWindow() { close(); }
    PopupWindow(const PopupWindow&) = delete;
    PopupWindow& operator=(const PopupWindow&) = delete;

    // Shows a window of the size at (x, y), moved to lie on the screen,
    // and takes the pointer and the keyboard. False when any of it fails.
    bool open(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height);
    // Draws the list and shows it.
    void show(const widgets::PopupList& list);
    ::Window id() const { return window; }

  private:
    bool grab();
    void close();

    Display* display;
    ::Window root;
    ::Window window = 0;
    PixelMap* picture = nullptr;
    Presenter presenter;
    bool pointerGrabbed = false;
    bool keyboardGrabbed = false;
};

bool PopupWindow::open(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) {
    ErrorTrap trap(display);
    XWindowAttributes screen;
    if (!XGetWindowAttributes(display, root, &screen))
        return false;
    x = std::max(0, std::min(x, screen.width - width));
    y = std::max(0, std::min(y, screen.height - height));
    picture = raster::newPixelMap(width, height, false, colorWord(240, 240, 240));
    if (!picture)
        return false;
    raster::holdTarget(picture);
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.background_pixmap = None; // every pixel is the list's
    attributes.save_under = True;
    attributes.event_mask =
        ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask;
    window = XCreateWindow(
        display, root, x, y, static_cast<unsigned int>(width), static_cast<unsigned int>(height), 0,
        screen.depth, InputOutput, screen.visual,
        CWOverrideRedirect | CWBackPixmap | CWSaveUnder | CWEventMask, &attributes);
    if (!window || !presenter.create(display, window, screen.visual, screen.depth, width, height))
        return false;
    XMapRaised(display, window);
    XSync(display, False);
    return trap.errors() == 0 && grab();
}

// Another client's grab (a drag in progress elsewhere) may end in a moment:
// a few tries, a few milliseconds apart.
bool PopupWindow::grab() {
    constexpr unsigned int pointerEvents = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (!pointerGrabbed)
            pointerGrabbed = XGrabPointer(display, window, False, pointerEvents, GrabModeAsync,
                                          GrabModeAsync, None, None, CurrentTime) == GrabSuccess;
        if (!keyboardGrabbed)
            keyboardGrabbed = XGrabKeyboard(display, window, False, GrabModeAsync, GrabModeAsync,
                                            CurrentTime) == GrabSuccess;
        if (pointerGrabbed && keyboardGrabbed)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

void PopupWindow::show(const widgets::PopupList& list) {
    DeviceContext* context = raster::createTargetContext(picture);
    list.draw(context);
    raster::deleteContext(context);
    raster::takeDamage(picture);
    ErrorTrap trap(display);
    presenter.show(display, window, *picture, {0, 0, picture->width, picture->height});
}

void PopupWindow::close() {
    ErrorTrap trap(display);
    if (keyboardGrabbed)
        XUngrabKeyboard(display, CurrentTime);
    if (pointerGrabbed)
        XUngrabPointer(display, CurrentTime);
    keyboardGrabbed = pointerGrabbed = false;
    presenter.destroy(display);
    if (window)
        XDestroyWindow(display, window);
    window = 0;
    // Gone for every client once trackPopupMenu returns.
    XSync(display, False);
    if (picture) {
        raster::releaseTarget(picture);
        raster::freePixelMap(picture);
        picture = nullptr;
    }
}

// Feeds the list one event of its window; true when it has to be drawn
// again. A release chooses only at the end of a drag that began before
// the list opened: press, move onto an entry, let go.
bool feed(widgets::PopupList& list, const XEvent& event, bool& pressedSinceOpen, bool& dragged) {
    switch (event.type) {
    case Expose:
        return true;
    case MotionNotify: {
        const XMotionEvent& motion = event.xmotion;
        if (motion.state & (Button1Mask | Button3Mask))
            dragged = true;
        return list.pointerMove(motion.x, motion.y);
    }
    case ButtonPress:
        if (event.xbutton.button > Button3)
            return false; // the wheel
        pressedSinceOpen = true;
        return list.click(event.xbutton.x, event.xbutton.y);
    case ButtonRelease:
        if (pressedSinceOpen || !dragged || list.entryAt(event.xbutton.x, event.xbutton.y) < 0)
            return false;
        return list.click(event.xbutton.x, event.xbutton.y);
    case KeyPress: {
        XKeyEvent key = event.xkey;
        return list.key(virtualKeyOf(key));
    }
    default:
        return false;
    }
}

} // namespace

void forgetPostedMessages(platform::Window* window) {
    std::lock_guard<std::mutex> lock(postedLock);
    posted.erase(std::remove_if(posted.begin(), posted.end(),
                                [window](const PostedMessage& m) { return m.window == window; }),
                 posted.end());
}

} // namespace x11

Menu* createPopupMenu() {
    Menu* menu = new (std::nothrow) Menu;
    if (menu) {
        std::lock_guard<std::mutex> lock(x11::menusLock);
        x11::menus.insert(menu);
    }
    return menu;
}

bool appendMenu(Menu* menu, std::uint32_t flags, std::uintptr_t identifier, const char* text) {
    if (!x11::isMenu(menu))
        return false;
    menu->entries.push_back(widgets::makeMenuEntry(flags, identifier, text));
    return true;
}

bool destroyMenu(Menu* menu) {
    {
        std::lock_guard<std::mutex> lock(x11::menusLock);
        if (x11::menus.erase(menu) == 0)
            return false;
    }
    delete menu;
    return true;
}

bool trackPopupMenu(Menu* menu, std::int32_t x, std::int32_t y, Window* owner) {
    x11::WindowRecord* record = x11::recordOf(owner);
    if (!x11::isMenu(menu) || !record || record->gone ||
        record->owner != std::this_thread::get_id())
        return false;
    x11::WindowRecord* connection = x11::connectionOwner(record);
    Display* display = connection->display;
    widgets::PopupList list(menu->entries);
    x11::PopupWindow popup(display, connection->root);
    if (!popup.open(x, y, list.width(), list.height()))
        return false;
    popup.show(list);

    // Only the popup's events are taken; the others wait in the queue for
    // the owner's next drain.
    ::Window id = popup.id();
    bool pressedSinceOpen = false;
    bool dragged = false;
    while (list.state() == widgets::PopupList::State::Open) {
        XEvent event;
        if (XCheckIfEvent(display, &event, &x11::isForWindow, reinterpret_cast<XPointer>(&id))) {
            if (x11::feed(list, event, pressedSinceOpen, dragged))
                popup.show(list);
            continue;
        }
        // Everything that had arrived is read: sleep until more comes.
        pollfd socket{ConnectionNumber(display), POLLIN, 0};
        if (poll(&socket, 1, 100) > 0 && (socket.revents & (POLLERR | POLLHUP)))
            list.cancel();
    }
    if (list.state() == widgets::PopupList::State::Chosen)
        x11::postMessage({owner, MessageCommand, list.chosenIdentifier() & 0xFFFF, 0});
    return true;
}

bool takeMessage(PostedMessage& message, Window* window, std::uint32_t first, std::uint32_t last) {
    const bool any = first == 0 && last == 0;
    if (any)
        last = ~0u;
    const auto wanted = [&](const PostedMessage& m) {
        return (!window || m.window == window) && m.message >= first && m.message <= last;
    };
    {
        std::lock_guard<std::mutex> lock(x11::postedLock);
        const auto found = std::find_if(x11::posted.begin(), x11::posted.end(), wanted);
        if (found != x11::posted.end()) {
            message = *found;
            x11::posted.erase(found);
            return true;
        }
    }
    // Button presses and releases still waiting on the window's connection.
    x11::WindowRecord* record = x11::recordOf(window);
    if (!record || record->gone || first > 0x0208 || last < MessageLeftButtonDown)
        return false;
    x11::ButtonQuery query{record->id, first, last};
    XEvent event;
    x11::ErrorTrap trap(record->display);
    if (!XCheckIfEvent(record->display, &event, &x11::isWantedButton,
                       reinterpret_cast<XPointer>(&query)))
        return false;
    message = {window, x11::buttonMessage(event.xbutton), 0,
               packPosition(event.xbutton.x, event.xbutton.y)};
    return true;
}

} // namespace platform

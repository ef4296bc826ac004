// The keyboard: the focus window of each thread, keys translated into
// key-down and character messages, and the window procedures that receive
// them, which a caller may replace with its own and call on from there.

#include "platform/TextEditing.h"
#include "platform/x11/Backend.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cstring>
#include <utility>

namespace platform {
namespace x11 {
namespace {

thread_local platform::Window* focus = nullptr;

bool onConnection(WindowRecord* owner, ::Window id) {
    if (id == owner->id)
        return true;
    return std::any_of(owner->guests.begin(), owner->guests.end(),
                       [id](const WindowRecord* guest) { return guest->id == id; });
}

// Gives the window the X focus, remembering where it was when it came
// from outside this connection's windows.
void takeKeyboard(WindowRecord* record) {
    WindowRecord* owner = connectionOwner(record);
    Display* display = record->display;
    ErrorTrap trap(display);
    ::Window current = 0;
    int revert = 0;
    XGetInputFocus(display, &current, &revert);
    if (!owner->focusSaved && !onConnection(owner, current)) {
        owner->focusSaved = true;
        owner->focusBefore = current;
        owner->revertBefore = revert;
    }
    record->focusSerial = NextRequest(display);
    XSetInputFocus(display, record->id, RevertToParent, CurrentTime);
    // A window that cannot take it (not viewable) fails here, not later.
    XSync(display, False);
}

// The keyboard goes back to where it was before this connection's windows
// took it, unless it has moved on meanwhile.
void giveBackKeyboard(WindowRecord* record) {
    WindowRecord* owner = connectionOwner(record);
    Display* display = record->display;
    if (!owner->focusSaved || !display)
        return;
    owner->focusSaved = false;
    ErrorTrap trap(display);
    ::Window current = 0;
    int revert = 0;
    XGetInputFocus(display, &current, &revert);
    if (onConnection(owner, current))
        XSetInputFocus(display, owner->focusBefore, owner->revertBefore, CurrentTime);
    XSync(display, False);
}

WindowRecord* liveRecord(platform::Window* window) {
    WindowRecord* record = recordOf(window);
    return record && !record->gone ? record : nullptr;
}

bool printable(unsigned char c) {
    return c >= 0x20 && c != 0x7F && (c < 0x80 || c >= 0xA0);
}

} // namespace

std::int32_t virtualKeyOf(KeySym symbol) {
    if (symbol >= XK_a && symbol <= XK_z)
        return static_cast<std::int32_t>('A' + (symbol - XK_a));
    if (symbol >= XK_A && symbol <= XK_Z)
        return static_cast<std::int32_t>('A' + (symbol - XK_A));
    if (symbol >= XK_0 && symbol <= XK_9)
        return static_cast<std::int32_t>('0' + (symbol - XK_0));
    switch (symbol) {
    case XK_space:
        return 0x20;
    case XK_Return:
    case XK_KP_Enter:
        return KeyReturn;
    case XK_BackSpace:
        return KeyBackspace;
    case XK_Delete:
    case XK_KP_Delete:
        return KeyDelete;
    case XK_Escape:
        return KeyEscape;
    case XK_Left:
    case XK_KP_Left:
        return KeyLeft;
    case XK_Right:
    case XK_KP_Right:
        return KeyRight;
    case XK_Up:
    case XK_KP_Up:
        return KeyUp;
    case XK_Down:
    case XK_KP_Down:
        return KeyDown;
    case XK_Home:
    case XK_KP_Home:
        return KeyHome;
    case XK_End:
    case XK_KP_End:
        return KeyEnd;
    default:
        return 0;
    }
}

void deliverKey(WindowRecord* record, XKeyEvent& event) {
    char text[8] = {};
    KeySym symbol = NoSymbol;
    const int count = XLookupString(&event, text, sizeof text, &symbol, nullptr);
    // Keys without a code of their own here (punctuation, say) bring only
    // their character.
    if (const std::int32_t key = virtualKeyOf(symbol))
        sendTo(record, MessageKeyDown, static_cast<WordParam>(key), 1);
    const auto c = static_cast<unsigned char>(text[0]);
    if (count == 1 && printable(c) && !record->gone)
        sendTo(record, MessageChar, c, 1);
}

void deliverFocusOut(WindowRecord* record, const XFocusChangeEvent& event) {
    // Grabs (a popup menu's among them) only lend the keyboard; a move
    // inside the window or to the pointer's window is no loss either.
    if (event.mode == NotifyGrab || event.mode == NotifyUngrab)
        return;
    if (event.detail == NotifyInferior || event.detail == NotifyPointer ||
        event.detail == NotifyPointerRoot || event.detail == NotifyDetailNone)
        return;
    if (focus != handleOf(record->id) || event.serial < record->focusSerial)
        return; // moved by setFocus, which told the window already
    focus = nullptr;
    connectionOwner(record)->focusSaved = false; // someone else has it now
    sendTo(record, MessageKillFocus, 0, 0);
}

void forgetFocus(WindowRecord* record) {
    if (focus != handleOf(record->id))
        return;
    focus = nullptr;
    giveBackKeyboard(record);
}

} // namespace x11

using x11::WindowRecord;

MessageResult sendMessage(Window* window, std::uint32_t message, WordParam wParam,
                          LongParam lParam) {
    WindowRecord* record = x11::liveRecord(window);
    return record ? x11::sendTo(record, message, wParam, lParam) : 0;
}

Window* focusWindow() {
    return x11::liveRecord(x11::focus) ? x11::focus : nullptr;
}

Window* setFocus(Window* window) {
    WindowRecord* record = x11::liveRecord(window);
    if (window && (!record || record->owner != std::this_thread::get_id()))
        return nullptr;
    Window* previous = focusWindow();
    if (window == previous)
        return previous;
    x11::focus = window;
    if (WindowRecord* old = x11::liveRecord(previous)) {
        if (!window)
            x11::giveBackKeyboard(old);
        x11::sendTo(old, MessageKillFocus, reinterpret_cast<WordParam>(window), 0);
    }
    // The window losing the focus may have moved it on, or destroyed the
    // window gaining it.
    if (record && x11::focus == window && !record->gone) {
        x11::takeKeyboard(record);
        if (record->edit)
            x11::editFocusGained(record);
    }
    return previous;
}

WindowProcedure setWindowProcedure(Window* window, WindowProcedure procedure) {
    WindowRecord* record = x11::liveRecord(window);
    if (!record || !procedure)
        return nullptr;
    return std::exchange(record->procedure, procedure);
}

MessageResult callWindowProcedure(WindowProcedure procedure, Window* window, std::uint32_t message,
                                  WordParam wParam, LongParam lParam) {
    return procedure ? procedure(window, message, wParam, lParam) : 0;
}

std::int32_t windowText(Window* window, char* buffer, std::int32_t limit) {
    if (!buffer || limit <= 0)
        return 0;
    buffer[0] = '\0';
    WindowRecord* record = x11::liveRecord(window);
    if (!record)
        return 0;
    const std::string* edited = x11::editText(record);
    const std::string& text = edited ? *edited : record->text;
    const auto count =
        static_cast<std::int32_t>(std::min(text.size(), static_cast<std::size_t>(limit - 1)));
    std::memcpy(buffer, text.data(), static_cast<std::size_t>(count));
    buffer[count] = '\0';
    return count;
}

} // namespace platform

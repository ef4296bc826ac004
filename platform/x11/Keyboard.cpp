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

// The code of a key symbol; for characters the unshifted one's.
std::int32_t codeOf(KeySym symbol) {
    if (symbol >= XK_a && symbol <= XK_z)
        return static_cast<std::int32_t>('A' + (symbol - XK_a));
    if ((symbol >= XK_A && symbol <= XK_Z) || (symbol >= XK_0 && symbol <= XK_9))
        return static_cast<std::int32_t>(symbol);
    struct Named {
        KeySym symbol;
        std::int32_t key;
    };
    static constexpr Named named[] = {
        {XK_space, 0x20},
        {XK_Tab, 0x09},
        {XK_Return, KeyReturn},
        {XK_KP_Enter, KeyReturn},
        {XK_BackSpace, KeyBackspace},
        {XK_Delete, KeyDelete},
        {XK_KP_Delete, KeyDelete},
        {XK_Escape, KeyEscape},
        {XK_Left, KeyLeft},
        {XK_KP_Left, KeyLeft},
        {XK_Right, KeyRight},
        {XK_KP_Right, KeyRight},
        {XK_Up, KeyUp},
        {XK_KP_Up, KeyUp},
        {XK_Down, KeyDown},
        {XK_KP_Down, KeyDown},
        {XK_Home, KeyHome},
        {XK_KP_Home, KeyHome},
        {XK_End, KeyEnd},
        {XK_KP_End, KeyEnd},
        // The punctuation keys.
        {XK_semicolon, 0xBA},
        {XK_equal, 0xBB},
        {XK_comma, 0xBC},
        {XK_minus, 0xBD},
        {XK_period, 0xBE},
        {XK_slash, 0xBF},
        {XK_grave, 0xC0},
        {XK_bracketleft, 0xDB},
        {XK_backslash, 0xDC},
        {XK_bracketright, 0xDD},
        {XK_apostrophe, 0xDE},
    };
    for (const Named& entry : named)
        if (entry.symbol == symbol)
            return entry.key;
    return 0;
}

// The character a key makes, as XLookupString gives it in Latin-1, is
// handed on but for Delete's and the C1 controls.
bool makesCharacter(unsigned char c) {
    return c != 0 && c != 0x7F && (c < 0x80 || c >= 0xA0);
}

// The symbol with the modifiers first (the keypad with or without num
// lock), else the key's own: "1" for "!".
std::int32_t keyOf(XKeyEvent& event, KeySym symbol) {
    if (const std::int32_t key = codeOf(symbol))
        return key;
    return codeOf(XLookupKeysym(&event, 0));
}

} // namespace

std::int32_t virtualKeyOf(XKeyEvent& event) {
    char text[8];
    KeySym symbol = NoSymbol;
    XLookupString(&event, text, sizeof text, &symbol, nullptr);
    return keyOf(event, symbol);
}

void deliverKey(WindowRecord* record, XKeyEvent& event) {
    char text[8] = {};
    KeySym symbol = NoSymbol;
    const int count = XLookupString(&event, text, sizeof text, &symbol, nullptr);
    if (const std::int32_t key = keyOf(event, symbol))
        sendTo(record, MessageKeyDown, static_cast<WordParam>(key), 1);
    const auto c = static_cast<unsigned char>(text[0]);
    // The key-down may have ended the window (return ends an edit).
    if (count == 1 && makesCharacter(c) && !record->gone)
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
        x11::sendTo(record, x11::MessageSetFocus, reinterpret_cast<WordParam>(previous), 0);
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

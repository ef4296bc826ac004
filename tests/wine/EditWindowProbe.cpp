// A Windows program for the tests under wine: an edit window with a
// replacement procedure, made with the platform calls alone in a window of
// a class of its own inside a host window. It prints one line for each
// thing that reaches the replacement procedure, so that a test can drive
// it with a real keyboard and mouse and read what happened:
//
//   edit L T R B / frame L T R B   screen rectangles, once at the start
//   ready                          the edit window has the keyboard focus
//   key return, text T             Return reached the edit window's
//                                  replacement procedure; the window held T
//   killfocus                      the edit window lost the keyboard focus
//   error ...                      a platform call failed; the program ends
//
// A left press on the frame takes the focus from the edit window.

#include "platform/Drawing.h"
#include "platform/HostWindow.h"
#include "platform/TextEditing.h"
#include "platform/Windowing.h"

#include <chrono>
#include <cstdarg>
#include <cstdio>

namespace {

using namespace platform;

constexpr const char* FrameClass = "EditWindowProbeFrame";
constexpr std::int32_t FrameWidth = 320;
constexpr std::int32_t FrameHeight = 200;
constexpr std::uint32_t EditStyle =
    StyleChild | StyleVisible | EditStyleAutoScroll | EditStyleCentre;
// Asks a window for the font it draws with: none for the system font.
constexpr std::uint32_t MessageGetFont = 0x0031;

Window* frame = nullptr;
Window* edit = nullptr;
WindowProcedure editOwnProcedure = nullptr;

void say(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    std::vprintf(format, arguments);
    va_end(arguments);
    std::putchar('\n');
    std::fflush(stdout);
}

MessageResult editProcedure(Window* window, std::uint32_t message, WordParam wParam,
                            LongParam lParam) {
    if (message == MessageKeyDown && wParam == KeyReturn) {
        char text[256];
        windowText(window, text, sizeof text);
        say("key return");
        say("text %s", text);
    } else if (message == MessageKillFocus) {
        say("killfocus");
    }
    return callWindowProcedure(editOwnProcedure, window, message, wParam, lParam);
}

MessageResult frameProcedure(Window* window, std::uint32_t message, WordParam wParam,
                             LongParam lParam) {
    switch (message) {
    case MessagePaint:
        endPaint(window, beginPaint(window));
        return 0;
    case MessageLeftButtonDown:
        setFocus(window);
        return 0;
    default:
        return defaultWindowProcedure(window, message, wParam, lParam);
    }
}

void sayRect(const char* name, Window* window) {
    IntRect r;
    windowRect(window, r);
    say("%s %d %d %d %d", name, r.left, r.top, r.right, r.bottom);
}

} // namespace

int main() {
    useBinaryStandardStreams();
    std::string failure;
    auto host = HostWindow::open("EditWindowProbe", FrameWidth, FrameHeight, failure);
    if (!host) {
        say("error %s", failure.c_str());
        return 1;
    }
    auto* parent = static_cast<Window*>(host->nativeHandle());
    if (!registerWindowClass(FrameClass, frameProcedure, nullptr) ||
        !(frame = createWindow(FrameClass, "Window", StyleChild | StyleVisible, 0, 0, FrameWidth,
                               FrameHeight, parent, nullptr)) ||
        !(edit = createWindow(EditClassName, "", EditStyle, 20, 20, 160, 24, frame, nullptr))) {
        say("error creating the windows");
        return 1;
    }
    FontDescription look;
    look.height = -14;
    Font* font = createFont(look);
    sendMessage(edit, MessageSetFont, reinterpret_cast<WordParam>(font), 1);
    sendMessage(edit, MessageEditSetMargins, EditLeftMargin | EditRightMargin, 0);
    setFocus(edit);
    editOwnProcedure = setWindowProcedure(edit, editProcedure);
    if (!editOwnProcedure || focusWindow() != edit || !sendMessage(edit, MessageGetFont, 0, 0)) {
        say("error taking over the edit window");
        return 1;
    }
    sayRect("edit", edit);
    sayRect("frame", frame);
    say("ready");
    const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    while (host->pumpEvents(100) && std::chrono::steady_clock::now() < end) {
    }
    destroyWindow(frame);
    deleteFont(font);
    return 0;
}

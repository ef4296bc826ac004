// Headless edit windows, the keyboard focus and messages sent to windows.
// An edit window's procedure keeps its line editor and its picture in step:
// every change is drawn at once, as the window a user watches would show it.

#include "platform/Drawing.h"
#include "platform/TextEditing.h"
#include "platform/headless/WindowRecord.h"

#include <algorithm>
#include <cstring>

namespace platform {
namespace {

Window*& focus() {
    static Window* window = nullptr;
    return window;
}

void redraw(Window* window) {
    DeviceContext* context = windowContext(window);
    window->editor->draw(context);
    releaseWindowContext(window, context);
}

} // namespace

namespace headless {

MessageResult editWindowProcedure(Window* window, std::uint32_t message, WordParam wParam,
                                  LongParam lParam) {
    // A replacement procedure may hand on messages of a window it has just
    // destroyed.
    if (!exists(window) || !window->editor)
        return 0;
    widgets::LineEditor& editor = *window->editor;
    bool changed = false;
    switch (message) {
    case MessagePaint: {
        DeviceContext* context = beginPaint(window);
        editor.draw(context);
        endPaint(window, context);
        return 0;
    }
    case MessageLeftButtonDown:
        setFocus(window);
        if (!exists(window))
            return 0;
        editor.click(positionX(lParam), positionY(lParam));
        changed = true;
        break;
    default:
        switch (editor.apply(message, wParam, lParam)) {
        case widgets::LineEditor::Applied::NotAMessageOfMine:
            return defaultWindowProcedure(window, message, wParam, lParam);
        case widgets::LineEditor::Applied::Changed:
            changed = true;
            break;
        case widgets::LineEditor::Applied::Unchanged:
            break;
        }
    }
    if (changed)
        redraw(window);
    return 0;
}

void forgetFocusOf(Window* window) {
    if (focus() == window)
        focus() = nullptr;
}

} // namespace headless

MessageResult sendMessage(Window* window, std::uint32_t message, WordParam wParam,
                          LongParam lParam) {
    return headless::exists(window) ? headless::send(window, message, wParam, lParam) : 0;
}

Window* setFocus(Window* window) {
    if (window && !headless::exists(window))
        return nullptr;
    Window* previous = focus();
    if (previous == window)
        return previous;
    // The window losing the focus hears of it first; it may go away or move
    // the focus while it handles that.
    focus() = window;
    if (headless::exists(previous))
        headless::send(previous, MessageKillFocus, reinterpret_cast<WordParam>(window), 0);
    if (window && headless::exists(window) && focus() == window)
        headless::send(window, headless::MessageSetFocus, reinterpret_cast<WordParam>(previous), 0);
    return previous;
}

Window* focusWindow() {
    return focus();
}

WindowProcedure setWindowProcedure(Window* window, WindowProcedure procedure) {
    if (!headless::exists(window))
        return nullptr;
    const WindowProcedure old = window->procedure;
    window->procedure = procedure;
    return old;
}

MessageResult callWindowProcedure(WindowProcedure procedure, Window* window, std::uint32_t message,
                                  WordParam wParam, LongParam lParam) {
    // The backend's own procedures are plain functions: no stand-ins needed.
    if (!procedure)
        return defaultWindowProcedure(window, message, wParam, lParam);
    return procedure(window, message, wParam, lParam);
}

std::int32_t windowText(Window* window, char* buffer, std::int32_t limit) {
    if (!buffer || limit <= 0)
        return 0;
    buffer[0] = '\0';
    if (!headless::exists(window))
        return 0;
    const std::string& text = window->editor ? window->editor->text() : window->title;
    const auto count = std::min(static_cast<std::int32_t>(text.size()), limit - 1);
    std::memcpy(buffer, text.data(), static_cast<std::size_t>(count));
    buffer[count] = '\0';
    return count;
}

} // namespace platform

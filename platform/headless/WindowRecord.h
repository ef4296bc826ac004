#pragma once
// What a headless window handle points at, and the calls the parts of the
// headless backend share. Internal to the backend.

#include "platform/Types.h"
#include "platform/Windowing.h"
#include "platform/widgets/LineEditor.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

struct Window {
    std::string className;
    std::string title;
    void* module = nullptr;
    WindowProcedure procedure = nullptr; // none for host stand-ins
    Window* parent = nullptr;
    std::vector<Window*> children;
    std::int32_t x = 0; // in the parent's client area, or on the screen
    std::int32_t y = 0;
    PixelMap* surface = nullptr;
    LongParam userData = 0;
    bool needsPaint = true;
    bool destroying = false;
    std::unique_ptr<widgets::LineEditor> editor; // an edit window's contents
};

namespace headless {

using widgets::MessageSetFocus;

bool exists(Window* window);
// A top-level window at (x, y) on the screen, or a child of `parent`.
Window* newWindow(Window* parent, std::int32_t x, std::int32_t y, std::int32_t width,
                  std::int32_t height);
IntPoint screenOrigin(Window* window);
// Hands the message to the window's current procedure.
MessageResult send(Window* window, std::uint32_t message, WordParam wParam, LongParam lParam);

// The procedure of every "EDIT" window until it is replaced.
MessageResult editWindowProcedure(Window* window, std::uint32_t message, WordParam wParam,
                                  LongParam lParam);

// What the focus and the message queue forget of a window going away.
void forgetFocusOf(Window* window);
void dropPostedMessages(Window* window);

} // namespace headless
} // namespace platform

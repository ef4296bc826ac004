// The frame's platform window: the module's window class, the window's
// creation, and the window procedure that routes paints and button
// presses to the frame.

#include "gui/DrawContext.h"
#include "gui/Frame.h"
#include "gui/ToolkitModule.h"
#include "platform/Windowing.h"

#include <cstdint>
#include <cstdio>

namespace {

constexpr const char* windowTitle = "Window";

// One class per module, named after the module handle (its low 32 bits).
char className[32] = {};
std::int32_t classUses = 0;

void formatClassName() {
    const auto handle =
        static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(toolkitModule()));
    std::snprintf(className, sizeof className, "Plugin%08x", handle);
}

} // namespace

const char* Frame::windowClassName() {
    if (className[0] == '\0')
        formatClassName();
    return className;
}

std::int32_t Frame::windowClassUseCount() {
    return classUses;
}

void Frame::createWindow() {
    if (!parentWindow)
        return;
    if (classUses == 0) {
        formatClassName();
        platform::registerWindowClass(className, &Frame::windowProcedure, toolkitModule());
    }
    ++classUses;
    holdsClassUse = true;
    frameWindow = platform::createWindow(
        className, windowTitle, platform::StyleChild | platform::StyleVisible, 0, 0, size.width(),
        size.height(), static_cast<platform::Window*>(parentWindow), toolkitModule());
    if (!frameWindow) {
        releaseWindowClass();
        return;
    }
    platform::setWindowUserData(frameWindow, reinterpret_cast<platform::LongParam>(this));
}

void Frame::releaseWindowClass() {
    if (!holdsClassUse)
        return;
    holdsClassUse = false;
    if (--classUses == 0)
        platform::unregisterWindowClass(className, toolkitModule());
}

platform::MessageResult Frame::windowProcedure(platform::Window* window, std::uint32_t message,
                                               platform::WordParam wParam,
                                               platform::LongParam lParam) {
    auto* frame = reinterpret_cast<Frame*>(platform::windowUserData(window));
    if (frame) {
        switch (message) {
        case platform::MessagePaint:
            if (platform::hasUpdateRegion(window)) {
                platform::DeviceContext* deviceContext = platform::beginPaint(window);
                {
                    DrawContext context(frame, deviceContext, window);
                    frame->draw(context);
                }
                platform::endPaint(window, deviceContext);
            }
            break;
        case platform::MessageLeftButtonDown:
        case platform::MessageRightButtonDown: {
            platform::DeviceContext* deviceContext = platform::windowContext(window);
            {
                DrawContext context(frame, deviceContext, window);
                frame->mouseDown(context,
                                 {platform::positionX(lParam), platform::positionY(lParam)});
            }
            platform::releaseWindowContext(window, deviceContext);
            break;
        }
        case platform::MessageDestroy:
            // The host destroyed its window first: the frame is closed and
            // must not touch the window again. Its class use is given back
            // when the frame itself goes.
            frame->open = false;
            frame->parentWindow = nullptr;
            frame->frameWindow = nullptr;
            break;
        default:
            break;
        }
    }
    return platform::defaultWindowProcedure(window, message, wParam, lParam);
}

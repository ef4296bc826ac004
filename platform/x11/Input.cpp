// The pointer, the buttons and the modifiers as the X server sees them,
// read on the connection of the window whose press is being handled; the
// millisecond clock; sleeping.

#include "platform/Input.h"
#include "platform/x11/Backend.h"

#include <chrono>
#include <thread>

namespace platform {
namespace x11 {

bool queryPointer(WindowRecord& record, int& rootX, int& rootY, unsigned int& mask) {
    if (!record.display || record.gone)
        return false;
    ErrorTrap trap(record.display);
    ::Window root = 0;
    ::Window child = 0;
    int x = 0;
    int y = 0;
    if (!XQueryPointer(record.display, record.root, &root, &child, &rootX, &rootY, &x, &y, &mask) ||
        trap.errors() != 0)
        return false;
    record.liveMask = mask;
    record.liveMaskTime = std::chrono::steady_clock::now();
    return true;
}

namespace {

unsigned int maskOf(Key key) {
    switch (key) {
    case Key::LeftButton:
        return Button1Mask;
    case Key::MiddleButton:
        return Button2Mask;
    case Key::RightButton:
        return Button3Mask;
    case Key::Shift:
        return ShiftMask;
    case Key::Control:
        return ControlMask;
    case Key::Alt:
        return Mod1Mask;
    }
    return 0;
}

// A toolkit poll asks for each button and modifier in turn: one question
// to the server answers all the polls of the next millisecond.
constexpr auto maskLifetime = std::chrono::milliseconds(1);

} // namespace
} // namespace x11

bool cursorPosition(IntPoint& position) {
    x11::WindowRecord* record = x11::currentRecord();
    if (!record)
        return false;
    x11::PressState& press = record->press;
    if (press.active && !press.buttonsRead) {
        position = {press.rootX, press.rootY};
        return true;
    }
    press.active = false;
    int x = 0;
    int y = 0;
    unsigned int mask = 0;
    if (!x11::queryPointer(*record, x, y, mask))
        return false;
    position = {x, y};
    return true;
}

bool isKeyDown(Key key) {
    x11::WindowRecord* record = x11::currentRecord();
    if (!record)
        return false;
    const unsigned int bit = x11::maskOf(key);
    x11::PressState& press = record->press;
    if (press.active) {
        press.buttonsRead = true;
        return (press.mask & bit) != 0;
    }
    if (std::chrono::steady_clock::now() - record->liveMaskTime >= x11::maskLifetime) {
        int x = 0;
        int y = 0;
        unsigned int mask = 0;
        if (!x11::queryPointer(*record, x, y, mask))
            return false;
    }
    return (record->liveMask & bit) != 0;
}

std::uint32_t tickCount() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void waitMilliseconds(std::uint32_t milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

} // namespace platform

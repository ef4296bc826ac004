// The headless pointer and clock: states a driver sets or scripts, and a
// clock that runs in real time or stands still until moved.

#include "platform/Input.h"
#include "platform/Headless.h"

#include <chrono>
#include <deque>

namespace platform {
namespace {

struct PointerScript {
    headless::PointerState current;
    std::deque<headless::PointerState> pending;
    bool scripted = false;
};

PointerScript& pointerScript() {
    static PointerScript script;
    return script;
}

struct Clock {
    bool manual = false;
    std::uint32_t manualTicks = 0;
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
};

Clock& clock() {
    static Clock c;
    return c;
}

std::uint64_t& waitedTotal() {
    static std::uint64_t total = 0;
    return total;
}

std::uint32_t bitFor(Key key) {
    switch (key) {
    case Key::LeftButton:
        return headless::PointerLeft;
    case Key::MiddleButton:
        return headless::PointerMiddle;
    case Key::RightButton:
        return headless::PointerRight;
    case Key::Shift:
        return headless::PointerShift;
    case Key::Control:
        return headless::PointerControl;
    case Key::Alt:
        return headless::PointerAlt;
    }
    return 0;
}

} // namespace

bool cursorPosition(IntPoint& position) {
    PointerScript& script = pointerScript();
    if (!script.pending.empty()) {
        script.current = script.pending.front();
        script.pending.pop_front();
    } else if (script.scripted) {
        script.current.buttons = 0;
    }
    position = {script.current.x, script.current.y};
    return true;
}

bool isKeyDown(Key key) {
    return (pointerScript().current.buttons & bitFor(key)) != 0;
}

std::uint32_t tickCount() {
    const Clock& c = clock();
    if (c.manual)
        return c.manualTicks;
    const auto elapsed = std::chrono::steady_clock::now() - c.start;
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

void waitMilliseconds(std::uint32_t milliseconds) {
    waitedTotal() += milliseconds;
}

namespace headless {

void placePointerForPress(std::int32_t screenX, std::int32_t screenY, std::uint32_t buttons) {
    pointerScript().current = {screenX, screenY, buttons};
}

void setPointer(const PointerState& state) {
    PointerScript& script = pointerScript();
    script.current = state;
    script.pending.clear();
    script.scripted = false;
}

void scriptPointer(const std::vector<PointerState>& steps) {
    PointerScript& script = pointerScript();
    script.pending.assign(steps.begin(), steps.end());
    script.scripted = true;
}

PointerState pointer() {
    return pointerScript().current;
}

std::size_t pendingPointerSteps() {
    return pointerScript().pending.size();
}

void setClock(std::uint32_t milliseconds) {
    clock().manual = true;
    clock().manualTicks = milliseconds;
}

void advanceClock(std::uint32_t milliseconds) {
    if (!clock().manual)
        setClock(tickCount());
    clock().manualTicks += milliseconds;
}

void useRealClock() {
    clock().manual = false;
}

std::uint64_t waitedMilliseconds() {
    return waitedTotal();
}

} // namespace headless
} // namespace platform

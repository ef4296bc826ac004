// The pointer, the keys and the clock, straight from USER32 and KERNEL32.

#include "platform/Input.h"

#include "platform/win32/SystemHeaders.h"

namespace platform {

bool cursorPosition(IntPoint& position) {
    POINT p;
    if (!GetCursorPos(&p))
        return false;
    position = {p.x, p.y};
    return true;
}

bool isKeyDown(Key key) {
    // The high bit tells the state at the moment of the call; the low bit
    // (pressed since the last call) is of no use to a poll.
    return (GetAsyncKeyState(static_cast<int>(key)) & 0x8000) != 0;
}

std::uint32_t tickCount() {
    return GetTickCount();
}

void waitMilliseconds(std::uint32_t milliseconds) {
    Sleep(milliseconds);
}

} // namespace platform

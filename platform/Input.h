#pragma once
// Pointer position, button and modifier state, and the millisecond clock.

#include "platform/Types.h"

#include <cstdint>

namespace platform {

// The keys whose state the toolkit polls (virtual-key codes).
enum class Key : std::int32_t {
    LeftButton = 0x01,
    RightButton = 0x02,
    MiddleButton = 0x04,
    Shift = 0x10,
    Control = 0x11,
    Alt = 0x12,
};

// The pointer in screen coordinates (GetCursorPos).
bool cursorPosition(IntPoint& position);
// Whether the key is down at the moment of the call (GetAsyncKeyState with
// the high bit tested).
bool isKeyDown(Key key);
// Milliseconds since some fixed moment, wrapping at 2^32 (GetTickCount).
std::uint32_t tickCount();
// Gives the processor away for about `milliseconds` (Sleep), so that code
// polling the pointer does not keep a core busy.
void waitMilliseconds(std::uint32_t milliseconds);

} // namespace platform

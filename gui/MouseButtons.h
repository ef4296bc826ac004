#pragma once
// Buttons and modifier keys held down, as a bit set. Controls compare it
// against whole values: left alone, left with shift, left with alt.

#include <cstdint>

using MouseButtons = std::int32_t;

enum MouseButton : MouseButtons {
    MouseLeft = 1,
    MouseMiddle = 2,
    MouseRight = 4,
    MouseShift = 8,
    MouseControl = 16,
    MouseAlt = 32,
};

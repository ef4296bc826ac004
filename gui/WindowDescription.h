#pragma once
// The 256-byte record that asks the host for a separate window.

#include <cstddef>
#include <cstdint>

struct WindowDescription {
    char title[128]; // NUL-terminated
    std::int16_t x;
    std::int16_t y;
    std::int16_t width;
    std::int16_t height;
    std::int32_t style;
    std::int32_t reserved[3]; // written as 0
    std::uint8_t unused[104]; // not written
};

static_assert(sizeof(WindowDescription) == 256);
static_assert(offsetof(WindowDescription, x) == 128);
static_assert(offsetof(WindowDescription, height) == 134);
static_assert(offsetof(WindowDescription, style) == 136);
static_assert(offsetof(WindowDescription, reserved) == 140);

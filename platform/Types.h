#pragma once
// The vocabulary of the platform layer: opaque handles to the objects a
// backend manages, the colour word, and the point and rectangle records
// that platform calls take. The toolkit never looks inside a handle.

#include <cstdint>

namespace platform {

// Opaque objects; each backend defines what they are.
struct DeviceContext;
struct PixelMap; // a bitmap picture: colour or monochrome
struct Pen;
struct Brush;
struct Font;
struct Window;

// Colour as the platform stores it: red | green << 8 | blue << 16.
using ColorWord = std::uint32_t;

constexpr ColorWord colorWord(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return static_cast<ColorWord>(red) | static_cast<ColorWord>(green) << 8 |
           static_cast<ColorWord>(blue) << 16;
}
constexpr std::uint8_t redOf(ColorWord c) {
    return static_cast<std::uint8_t>(c & 0xFF);
}
constexpr std::uint8_t greenOf(ColorWord c) {
    return static_cast<std::uint8_t>((c >> 8) & 0xFF);
}
constexpr std::uint8_t blueOf(ColorWord c) {
    return static_cast<std::uint8_t>((c >> 16) & 0xFF);
}

struct IntPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// A box of pixels: left and top included, right and bottom excluded.
struct IntRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

// Pointer-sized integers for message arguments and window user data.
using MessageResult = std::intptr_t;
using WordParam = std::uintptr_t;
using LongParam = std::intptr_t;

} // namespace platform

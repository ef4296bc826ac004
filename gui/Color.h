#pragma once
// Colours of the toolkit and the named colours.

#include "platform/Types.h"

#include <cstdint>

struct Color {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t spare = 0; // never reaches the platform, never compared

    constexpr platform::ColorWord platformColor() const {
        return platform::colorWord(red, green, blue);
    }
    friend constexpr bool operator==(const Color& a, const Color& b) {
        return a.red == b.red && a.green == b.green && a.blue == b.blue;
    }
};

namespace colors {
inline constexpr Color white{255, 255, 255, 0};
inline constexpr Color black{0, 0, 0, 0};
inline constexpr Color grey{127, 127, 127, 0};
inline constexpr Color red{255, 0, 0, 0};
inline constexpr Color green{0, 255, 0, 0};
inline constexpr Color blue{0, 0, 255, 0};
inline constexpr Color yellow{255, 255, 0, 0};
inline constexpr Color magenta{255, 0, 255, 0};
inline constexpr Color aqua{0, 255, 255, 0};
// Pixels of this colour are see-through in a masked bitmap copy.
inline constexpr Color transparencyKey = white;
} // namespace colors

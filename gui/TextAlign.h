#pragma once
// Horizontal placement of text; any value other than centre and right
// places it on the left.

#include <cstdint>

enum TextAlign : std::int32_t {
    AlignLeft = 0,
    AlignCenter = 1,
    AlignRight = 2,
};

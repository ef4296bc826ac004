#pragma once
// The font table: a FontId selects a row; sizes are character heights in
// pixels.

#include "platform/Drawing.h"

#include <array>
#include <cstdint>

using FontId = std::int32_t;

struct FontRow {
    const char* faceName;
    std::int32_t defaultSize;
    std::int32_t weight;
    std::uint8_t pitchAndFamily;
};

inline constexpr std::array<FontRow, 7> fontTable = {{
    {"Arial", 12, 700, 0x22},
    {"Arial", 18, 400, 0x22},
    {"Arial", 14, 400, 0x22},
    {"Arial", 12, 400, 0x22},
    {"Arial", 11, 400, 0x22},
    {"Small Fonts", 9, 400, 0x22},
    {"Symbol", 13, 400, 0x50},
}};

// The row a FontId selects: ids outside the table select row 0.
constexpr FontId validFontId(FontId id) {
    return id < 0 || id >= static_cast<FontId>(fontTable.size()) ? 0 : id;
}

// The size a request ends up with: 0 takes the row's default.
constexpr std::int32_t effectiveFontSize(FontId id, std::int32_t size) {
    return size == 0 ? fontTable[static_cast<std::size_t>(validFontId(id))].defaultSize : size;
}

// The platform font request for a row and a size (0: the row's default).
platform::FontDescription describeFont(FontId id, std::int32_t size);

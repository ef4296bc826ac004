#include "gui/Fonts.h"

#include <cstring>

platform::FontDescription describeFont(FontId id, std::int32_t size) {
    id = validFontId(id);
    const FontRow& row = fontTable[static_cast<std::size_t>(id)];
    platform::FontDescription font;
    font.height = -effectiveFontSize(id, size); // a character height, not a cell height
    font.weight = 400;
    font.charSet = 0;       // ANSI
    font.outPrecision = 1;  // string precision
    font.clipPrecision = 2; // stroke precision
    font.quality = 0;       // default quality
    font.pitchAndFamily = 0x22;
    std::strncpy(font.faceName, row.faceName, sizeof font.faceName - 1);
    if (id == 6)
        font.pitchAndFamily = 0x50;
    if (id == 0)
        font.weight = 700;
    return font;
}

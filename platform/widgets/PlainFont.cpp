#include "platform/widgets/PlainFont.h"

#include "platform/raster/Glyphs.h"
#include "platform/raster/Objects.h"

#include <cstring>

namespace platform::widgets {

Font* createPlainFont() {
    FontDescription description;
    description.height = -12; // a character height, as the toolkit asks for its text
    description.weight = 400;
    description.pitchAndFamily = 0x22;
    std::strncpy(description.faceName, "Arial", sizeof description.faceName - 1);
    return createFont(description);
}

std::int32_t textWidth(Font* font, const char* text, std::int32_t count) {
    if (!font || !font->face)
        return 0;
    std::int32_t width = 0;
    for (std::int32_t i = 0; i < count; ++i)
        width += font->face->glyph(static_cast<unsigned char>(text[i])).advance;
    return width;
}

std::int32_t lineHeight(Font* font) {
    return font && font->face ? font->face->ascent + font->face->descent : 0;
}

} // namespace platform::widgets

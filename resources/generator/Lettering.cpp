#include "Lettering.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>

namespace artwork {

struct Lettering::Faces {
    FT_Library library = nullptr;
    FT_Face regular = nullptr;
    FT_Face bold = nullptr;
    FT_Face face(Weight weight) const { return weight == Weight::Bold ? bold : regular; }
};

Lettering::Lettering(const std::string& fontDirectory) : faces(new Faces) {
    if (FT_Init_FreeType(&faces->library) != 0)
        return;
    ready = FT_New_Face(faces->library, (fontDirectory + "/LiberationSans-Regular.ttf").c_str(), 0,
                        &faces->regular) == 0 &&
            FT_New_Face(faces->library, (fontDirectory + "/LiberationSans-Bold.ttf").c_str(), 0,
                        &faces->bold) == 0;
}

Lettering::~Lettering() {
    if (faces->regular)
        FT_Done_Face(faces->regular);
    if (faces->bold)
        FT_Done_Face(faces->bold);
    if (faces->library)
        FT_Done_FreeType(faces->library);
    delete faces;
}

float Lettering::measure(const std::string& text, Weight weight, int size, float tracking) const {
    FT_Face face = faces->face(weight);
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(size));
    float width = 0;
    for (unsigned char c : text) {
        if (FT_Load_Char(face, c, FT_LOAD_DEFAULT) != 0)
            continue;
        width += face->glyph->advance.x / 64.0f + tracking;
    }
    return text.empty() ? 0 : width - tracking;
}

void Lettering::draw(Canvas& canvas, const std::string& text, float x, float baseline,
                     Weight weight, int size, Rgb color, Anchor anchor, float tracking) const {
    const float width = measure(text, weight, size, tracking);
    float penX = anchor == Anchor::Left ? x : anchor == Anchor::Centre ? x - width / 2 : x - width;
    penX = std::round(penX);
    FT_Face face = faces->face(weight);
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(size));
    const int base = static_cast<int>(std::round(baseline));
    for (unsigned char c : text) {
        if (FT_Load_Char(face, c, FT_LOAD_RENDER) != 0)
            continue;
        const FT_GlyphSlot g = face->glyph;
        const int left = static_cast<int>(std::round(penX)) + g->bitmap_left;
        for (unsigned row = 0; row < g->bitmap.rows; ++row)
            for (unsigned col = 0; col < g->bitmap.width; ++col) {
                const float a = g->bitmap.buffer[row * g->bitmap.pitch + col] / 255.0f;
                canvas.blend(left + static_cast<int>(col),
                             base - g->bitmap_top + static_cast<int>(row), color, a);
            }
        penX += g->advance.x / 64.0f + tracking;
    }
}

void Lettering::drawUpwards(Canvas& canvas, const std::string& text, float cx, float cy,
                            Weight weight, int size, Rgb color, float tracking) const {
    // Render flat into a coverage canvas, then turn it.
    const int width = static_cast<int>(std::ceil(measure(text, weight, size, tracking))) + 4;
    const int height = size * 2;
    Canvas flat(width, height, Rgb{});
    draw(flat, text, 2, size * 1.3f, weight, size, Rgb{1, 1, 1}, Anchor::Left, tracking);
    const int left = static_cast<int>(std::round(cx - height / 2.0f));
    const int top = static_cast<int>(std::round(cy - width / 2.0f));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            // (x, y) of the flat text lands at (y, width - 1 - x) when turned.
            canvas.blend(left + y, top + (width - 1 - x), color, flat.at(x, y).r);
        }
}

} // namespace artwork

// Renders the glyphs the software raster backend draws text with, once, at
// development time. The result is a small binary atlas that the build
// embeds, so the plug-in itself never reads a font file or links FreeType.
//
// Usage: varnex_fontbaker REGULAR.ttf BOLD.ttf OUTPUT
//
// Atlas layout (all integers little-endian):
//   "VXGL", u16 version (1), u16 face count
//   per face: u16 weight, u16 pixel size, i16 ascent, i16 descent,
//             u16 first character, u16 glyph count
//             then per glyph: i16 advance, i16 left, i16 top,
//             u16 width, u16 height, u32 coverage offset (from file start)
//   coverage bytes (0 = empty, 255 = fully covered), row by row.

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <vector>

namespace {

constexpr int firstCharacter = 32;
constexpr int lastCharacter = 126;
constexpr int smallestSize = 6;
constexpr int largestSize = 24;

struct GlyphRecord {
    int advance, left, top, width, height;
    std::vector<std::uint8_t> coverage;
};

struct FaceRecord {
    int weight, size, ascent, descent;
    std::vector<GlyphRecord> glyphs;
};

void put16(std::vector<std::uint8_t>& out, int value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFF));
}

// Metrics follow the platform font mapper for a negative (character)
// height: the em is `size` pixels, ascent and descent come from the
// font's Windows ascent and descent, rounded up.
bool renderFace(FT_Face face, int weight, int size, FaceRecord& record) {
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(size)) != 0)
        return false;
    record.weight = weight;
    record.size = size;
    const int unitsPerEm = face->units_per_EM;
    record.ascent = (face->ascender * size + unitsPerEm - 1) / unitsPerEm;
    record.descent = (-face->descender * size + unitsPerEm - 1) / unitsPerEm;
    for (int c = firstCharacter; c <= lastCharacter; ++c) {
        if (FT_Load_Char(face, static_cast<FT_ULong>(c), FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) !=
            0)
            return false;
        const FT_GlyphSlot slot = face->glyph;
        GlyphRecord glyph;
        glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
        glyph.left = slot->bitmap_left;
        glyph.top = slot->bitmap_top;
        glyph.width = static_cast<int>(slot->bitmap.width);
        glyph.height = static_cast<int>(slot->bitmap.rows);
        for (int y = 0; y < glyph.height; ++y) {
            const unsigned char* row = slot->bitmap.buffer + y * slot->bitmap.pitch;
            glyph.coverage.insert(glyph.coverage.end(), row, row + glyph.width);
        }
        record.glyphs.push_back(std::move(glyph));
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s REGULAR.ttf BOLD.ttf OUTPUT\n", argv[0]);
        return 2;
    }
    FT_Library library;
    if (FT_Init_FreeType(&library) != 0)
        return 1;
    std::vector<FaceRecord> faces;
    const int weights[2] = {400, 700};
    for (int i = 0; i < 2; ++i) {
        FT_Face face;
        if (FT_New_Face(library, argv[1 + i], 0, &face) != 0) {
            std::fprintf(stderr, "cannot open %s\n", argv[1 + i]);
            return 1;
        }
        for (int size = smallestSize; size <= largestSize; ++size) {
            FaceRecord record;
            if (!renderFace(face, weights[i], size, record)) {
                std::fprintf(stderr, "cannot render %s at %d\n", argv[1 + i], size);
                return 1;
            }
            faces.push_back(std::move(record));
        }
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);

    const int glyphCount = lastCharacter - firstCharacter + 1;
    std::vector<std::uint8_t> out = {'V', 'X', 'G', 'L'};
    put16(out, 1);
    put16(out, static_cast<int>(faces.size()));
    const std::size_t headerSize =
        out.size() + faces.size() * (12 + static_cast<std::size_t>(glyphCount) * 14);
    std::uint32_t coverageOffset = static_cast<std::uint32_t>(headerSize);
    for (const FaceRecord& face : faces) {
        put16(out, face.weight);
        put16(out, face.size);
        put16(out, face.ascent);
        put16(out, face.descent);
        put16(out, firstCharacter);
        put16(out, glyphCount);
        for (const GlyphRecord& glyph : face.glyphs) {
            put16(out, glyph.advance);
            put16(out, glyph.left);
            put16(out, glyph.top);
            put16(out, glyph.width);
            put16(out, glyph.height);
            put32(out, coverageOffset);
            coverageOffset += static_cast<std::uint32_t>(glyph.coverage.size());
        }
    }
    for (const FaceRecord& face : faces)
        for (const GlyphRecord& glyph : face.glyphs)
            out.insert(out.end(), glyph.coverage.begin(), glyph.coverage.end());

    std::ofstream file(argv[3], std::ios::binary);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    return file ? 0 : 1;
}

#include "platform/raster/Glyphs.h"

#include <cstddef>
#include <cstdlib>
#include <vector>

namespace platform::raster {

// The atlas file, embedded by the build (see platform/fontbaker).
extern const unsigned char glyphAtlas[];
extern const std::size_t glyphAtlasSize;

namespace {

constexpr std::int32_t defaultSize = 12;

class AtlasReader {
  public:
    AtlasReader(const unsigned char* data, std::size_t size) : data(data), size(size) {}
    bool ok() const { return valid; }
    std::size_t offset() const { return position; }
    std::uint32_t u16() { return read(2); }
    std::int32_t i16() { return static_cast<std::int16_t>(read(2)); }
    std::uint32_t u32() { return read(4); }

  private:
    std::uint32_t read(std::size_t count) {
        if (!valid || size - position < count) {
            valid = false;
            return 0;
        }
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < count; ++i)
            value |= static_cast<std::uint32_t>(data[position + i]) << (8 * i);
        position += count;
        return value;
    }
    const unsigned char* data;
    std::size_t size;
    std::size_t position = 0;
    bool valid = true;
};

struct Atlas {
    std::vector<GlyphFace> faces;
    std::vector<std::vector<Glyph>> glyphs;
};

// Reads the atlas once. A damaged atlas gives no faces (text then draws
// nothing) rather than reading outside the data.
const Atlas& atlas() {
    static const Atlas parsed = [] {
        Atlas result;
        AtlasReader reader(glyphAtlas, glyphAtlasSize);
        const std::uint32_t magic = reader.u32();
        const std::uint32_t version = reader.u16();
        const std::uint32_t faceCount = reader.u16();
        if (!reader.ok() || magic != 0x4C475856u || version != 1)
            return result;
        for (std::uint32_t f = 0; f < faceCount; ++f) {
            GlyphFace face;
            face.bold = reader.u16() >= 600;
            face.size = static_cast<std::int32_t>(reader.u16());
            face.ascent = reader.i16();
            face.descent = reader.i16();
            face.firstCharacter = static_cast<std::int32_t>(reader.u16());
            face.glyphCount = static_cast<std::int32_t>(reader.u16());
            std::vector<Glyph> glyphs;
            for (std::int32_t g = 0; g < face.glyphCount; ++g) {
                Glyph glyph;
                glyph.advance = static_cast<std::int16_t>(reader.i16());
                glyph.left = static_cast<std::int16_t>(reader.i16());
                glyph.top = static_cast<std::int16_t>(reader.i16());
                glyph.width = static_cast<std::uint16_t>(reader.u16());
                glyph.height = static_cast<std::uint16_t>(reader.u16());
                const std::uint32_t offset = reader.u32();
                const std::size_t bytes = std::size_t{glyph.width} * glyph.height;
                if (!reader.ok() || offset > glyphAtlasSize || glyphAtlasSize - offset < bytes)
                    return Atlas{};
                glyph.coverage = glyphAtlas + offset;
                glyphs.push_back(glyph);
            }
            if (face.glyphCount == 0 || face.size <= 0)
                return Atlas{};
            result.faces.push_back(face);
            result.glyphs.push_back(std::move(glyphs));
        }
        for (std::size_t i = 0; i < result.faces.size(); ++i)
            result.faces[i].glyphs = result.glyphs[i].data();
        return result;
    }();
    return parsed;
}

} // namespace

const Glyph& GlyphFace::glyph(unsigned char character) const {
    std::int32_t index = static_cast<std::int32_t>(character) - firstCharacter;
    if (index < 0 || index >= glyphCount)
        index = '?' - firstCharacter;
    if (index < 0 || index >= glyphCount)
        index = 0;
    return glyphs[index];
}

const GlyphFace* findFace(bool bold, std::int32_t size) {
    const GlyphFace* best = nullptr;
    for (const GlyphFace& face : atlas().faces) {
        if (face.bold != bold)
            continue;
        if (!best || std::abs(face.size - size) < std::abs(best->size - size))
            best = &face;
    }
    return best;
}

const GlyphFace* faceForRequest(bool bold, std::int32_t height) {
    if (height < 0)
        return findFace(bold, -height);
    if (height == 0)
        return findFace(bold, defaultSize);
    // A cell height: the face whose ascent plus descent comes nearest.
    const GlyphFace* best = nullptr;
    for (const GlyphFace& face : atlas().faces) {
        if (face.bold != bold)
            continue;
        const std::int32_t cell = face.ascent + face.descent;
        if (!best || std::abs(cell - height) < std::abs(best->ascent + best->descent - height))
            best = &face;
    }
    return best;
}

} // namespace platform::raster

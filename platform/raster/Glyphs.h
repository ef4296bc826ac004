#pragma once
// The glyph atlas the raster backend draws text from: Liberation Sans
// (metric-compatible with the toolkit's sans-serif face) rendered at whole
// pixel sizes, regular and bold, with 8-bit coverage.

#include <cstdint>

namespace platform::raster {

struct Glyph {
    std::int16_t advance = 0; // pen movement after the glyph
    std::int16_t left = 0;    // from the pen to the picture's left edge
    std::int16_t top = 0;     // from the baseline up to the picture's top row
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    const std::uint8_t* coverage = nullptr; // width x height, row by row
};

struct GlyphFace {
    bool bold = false;
    std::int32_t size = 0; // character height (em) in pixels
    std::int32_t ascent = 0;
    std::int32_t descent = 0;
    std::int32_t firstCharacter = 0;
    std::int32_t glyphCount = 0;
    const Glyph* glyphs = nullptr;

    // The glyph for a character; characters the atlas lacks show as '?'.
    const Glyph& glyph(unsigned char character) const;
};

// The face of the given weight whose size is nearest to `size`.
const GlyphFace* findFace(bool bold, std::int32_t size);
// The face for a font request's height: negative for a character height,
// positive for a cell height (ascent + descent), 0 for the default.
const GlyphFace* faceForRequest(bool bold, std::int32_t height);

} // namespace platform::raster

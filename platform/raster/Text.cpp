// One line of text in a rectangle, with the alignment flags of drawText,
// anti-aliased glyphs blended over what is already there.

#include "platform/raster/Glyphs.h"
#include "platform/raster/Objects.h"

#include <algorithm>

namespace platform {
namespace {

ColorWord blend(ColorWord under, ColorWord over, std::uint32_t coverage) {
    auto mix = [coverage](std::uint32_t a, std::uint32_t b) {
        return (a * (255 - coverage) + b * coverage + 127) / 255;
    };
    return colorWord(static_cast<std::uint8_t>(mix(redOf(under), redOf(over))),
                     static_cast<std::uint8_t>(mix(greenOf(under), greenOf(over))),
                     static_cast<std::uint8_t>(mix(blueOf(under), blueOf(over))));
}

// The part of `rect` that lies on the target.
IntRect clipTo(const IntRect& rect, const PixelMap* target) {
    return {std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, target->width),
            std::min(rect.bottom, target->height)};
}

} // namespace

std::int32_t drawText(DeviceContext* context, const char* text, std::int32_t length,
                      const IntRect& rect, std::uint32_t format) {
    if (!context || !text)
        return 0;
    const raster::GlyphFace* face = context->font->face;
    if (!face)
        return 0;
    if (length < 0) {
        length = 0;
        while (text[length] != '\0')
            ++length;
    }
    const std::int32_t lineHeight = face->ascent + face->descent;
    std::int32_t textWidth = 0;
    for (std::int32_t i = 0; i < length; ++i)
        textWidth += face->glyph(static_cast<unsigned char>(text[i])).advance;

    std::int32_t x = rect.left;
    if (format & TextCenter)
        x = rect.left + (rect.right - rect.left - textWidth) / 2;
    else if (format & TextRight)
        x = rect.right - textWidth;
    std::int32_t y = rect.top;
    if ((format & TextSingleLine) && (format & TextVerticalCenter))
        y = rect.top + (rect.bottom - rect.top - lineHeight) / 2;

    // Nothing is drawn outside the rectangle.
    const IntRect clip = clipTo(rect, context->target);
    PixelMap* target = context->target;
    if (context->backgroundMode == BackgroundMode::Opaque) {
        const IntRect box =
            clipTo({std::max(x, clip.left), std::max(y, clip.top),
                    std::min(x + textWidth, clip.right), std::min(y + lineHeight, clip.bottom)},
                   target);
        for (std::int32_t py = box.top; py < box.bottom; ++py)
            for (std::int32_t px = box.left; px < box.right; ++px)
                raster::plot(target, px, py, context->backgroundColor);
    }
    const std::int32_t baseline = y + face->ascent;
    std::int32_t penX = x;
    for (std::int32_t i = 0; i < length; ++i) {
        const raster::Glyph& glyph = face->glyph(static_cast<unsigned char>(text[i]));
        for (std::int32_t gy = 0; gy < glyph.height; ++gy) {
            const std::int32_t py = baseline - glyph.top + gy;
            if (py < clip.top || py >= clip.bottom)
                continue;
            for (std::int32_t gx = 0; gx < glyph.width; ++gx) {
                const std::int32_t px = penX + glyph.left + gx;
                if (px < clip.left || px >= clip.right)
                    continue;
                const std::uint32_t coverage = glyph.coverage[gy * glyph.width + gx];
                if (coverage == 0)
                    continue;
                const ColorWord under = raster::readPixel(target, px, py);
                raster::plot(target, px, py, blend(under, context->textColor, coverage));
            }
        }
        penX += glyph.advance;
    }
    return lineHeight;
}

} // namespace platform

#pragma once
// The font the widgets draw with until they are given another: the
// toolkit's plain sans-serif face at its usual text size.

#include "platform/Drawing.h"

#include <cstdint>

namespace platform::widgets {

// A new font the caller deletes with deleteFont.
Font* createPlainFont();

// Pixel width of `count` characters of `text` in `font`, as drawText lays
// them out; 0 without a font.
std::int32_t textWidth(Font* font, const char* text, std::int32_t count);
// Height of one line of text in `font`; 0 without a font.
std::int32_t lineHeight(Font* font);

} // namespace platform::widgets

#pragma once
// The pictures `varnex gallery` draws from: the editor's and the picture
// strips of the toolkit's further controls, by number. Kept apart from the
// editor's table so that the plug-in carries none of the strips.

#include "platform/EmbeddedResources.h"

#include <cstddef>
#include <cstdint>

namespace resources {

// The strips; each holds its pictures stacked from top to bottom.
enum GalleryBitmap : std::int32_t {
    ToggleBitmap = 120,                // 42 x 17: off, on
    FilmstripKnobBitmap = 121,         // 31 pictures of 43 x 43
    RockerBitmap = 122,                // 42 x 17: -1, 0, +1
    PictureStripBitmap = 123,          // 5 pictures of 48 x 24
    ButtonBitmap = 124,                // 24 x 24: up, held down
    AnimationBitmap = 125,             // 8 pictures of 24 x 24
    DigitsBitmap = 126,                // 0 to 9, each 14 x 22
    MeterOnBitmap = 127,               // 12 x 120, fifteen lamps lit
    MeterOffBitmap = 128,              // the same lamps dark
    BoxBitmap = 129,                   // 72 x 20: a text box
    BoxPressedBitmap = 130,            // the same, pressed
    HorizontalFaderTrackBitmap = 131,  // 130 x 19
    HorizontalFaderHandleBitmap = 132, // 19 x 12
};

// The editor's pictures followed by the strips; `count` receives its length.
const platform::EmbeddedResource* galleryBitmapTable(std::size_t& count);

// Installs that table as the pictures the platform layer loads.
inline void useGalleryBitmaps() {
    std::size_t count = 0;
    const platform::EmbeddedResource* table = galleryBitmapTable(count);
    platform::useResourceTable(table, count);
}

} // namespace resources

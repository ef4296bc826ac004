#pragma once
// Picture strips made for the tests, loaded like the editor's pictures:
// every pixel tells which strip, which picture and which pixel of it it
// came from, so that a window pixel shows exactly what was copied there.

#include "ControlTestSupport.h"

#include <cstdint>
#include <vector>

// Strips by resource number: (pictures, width, height of one picture).
enum TestStrip : std::int32_t {
    FourPictures = 900, // 4 pictures of 20 x 10
    TwoPictures = 901,  // 2 pictures of 20 x 10
    Digits = 902,       // 10 pictures of 6 x 8: the digits 0 to 9
    MeterOn = 903,      // 1 picture of 40 x 40
    MeterOff = 904,     // 1 picture of 40 x 40
};

// Where a pixel came from; picture -1 for a pixel of no test strip.
struct StripPixel {
    std::int32_t strip = 0; // 0 to 4, in the order above
    std::int32_t picture = -1;
    std::int32_t column = 0;
    std::int32_t row = 0; // within the picture

    friend bool operator==(const StripPixel&, const StripPixel&) = default;
};

StripPixel decodeStripPixel(platform::ColorWord color);

// The window's pixels in r, its right and bottom edges included, row by row.
std::vector<platform::ColorWord> regionPixels(platform::Window* window, const Rect& r);

// Installs the test strips next to the editor's pictures for the test's
// duration.
class StripControlTest : public ControlTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // What the window shows at the client point (x, y).
    StripPixel shown(std::int32_t x, std::int32_t y) { return decodeStripPixel(pixel(x, y)); }
    // The picture whose top row shows at (x, y), -1 for none.
    std::int32_t pictureAt(std::int32_t x, std::int32_t y) {
        const StripPixel p = shown(x, y);
        return p.row == 0 ? p.picture : -1;
    }
};

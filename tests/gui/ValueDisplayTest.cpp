// The value display: its text, and its box with the outline or the
// two-colour edge, the shadow or a background picture.

#include "StripTestSupport.h"

#include "gui/ValueDisplay.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr Rect box{100, 50, 160, 70};

// Text is blended into the box: its pixels are found by their colour.
template <typename Test> std::size_t countOf(const std::vector<platform::ColorWord>& all, Test t) {
    return static_cast<std::size_t>(std::count_if(all.begin(), all.end(), t));
}

} // namespace

TEST_F(ControlTest, AValueDisplayShowsOneHalfAsZeroPointFiveZero) {
    auto* display = attach(new ValueDisplay(box, nullptr, 0));
    display->setValue(0.5f);
    paint();
    const Rect byHand{100, 150, 160, 170}; // the same box and text drawn by hand
    {
        WindowContext window(frame);
        DrawContext& context = window;
        context.setPaintColor(colors::black);
        context.paintRect(byHand);
        context.setPenColor(colors::black);
        context.strokeRect(byHand);
        context.selectFont(3);
        context.setInkColor(colors::white);
        context.drawText("0.50", byHand, 0, AlignCenter);
    }
    const auto expected = regionPixels(frame->window(), byHand);
    ASSERT_GT(countOf(expected, [](platform::ColorWord c) { return c != 0; }), 0u);
    EXPECT_EQ(regionPixels(frame->window(), box), expected);
}

TEST_F(ControlTest, ValueDisplayStyleBitsPickTheEdgeColoursAndTheShadow) {
    // Box blue, edge red, shadow ink green. Either edge bit replaces the
    // outline by two-colour lines; 0x080 gives the upper-left ones the box
    // colour. The top line reaches the right edge.
    const platform::ColorWord blue = colors::blue.platformColor(),
                              red = colors::red.platformColor();
    const struct {
        std::int32_t style;
        platform::ColorWord upperLeft, lowerRight;
        bool shadow;
    } cases[] = {{0x000, red, red, false},
                 {0x100, red, blue, false},
                 {0x080, blue, red, false},
                 {0x180, blue, red, false},
                 {0x004, red, red, true}};
    const std::int32_t midH = (box.left + box.right) / 2, midV = (box.top + box.bottom) / 2;
    for (const auto& c : cases) {
        ValueDisplay display(box, nullptr, c.style);
        display.setValueConverter([](float, char* text) { std::strcpy(text, "88"); });
        display.setBoxColor(colors::blue);
        display.setEdgeColor(colors::red);
        display.setShadowInkColor(colors::green);
        {
            WindowContext window(frame);
            display.draw(window);
        }
        EXPECT_EQ(pixel(box.left, midV), c.upperLeft) << c.style;
        EXPECT_EQ(pixel(midH, box.top), c.upperLeft) << c.style;
        EXPECT_EQ(pixel(box.right, box.top), c.upperLeft) << c.style;
        EXPECT_EQ(pixel(box.right, midV), c.lowerRight) << c.style;
        EXPECT_EQ(pixel(midH, box.bottom), c.lowerRight) << c.style;
        EXPECT_EQ(pixel(box.left + 2, box.top + 2), blue) << c.style;
        // White ink over a blue box mixes red and green alike.
        const auto greenish = [](platform::ColorWord p) {
            return platform::greenOf(p) > platform::redOf(p) + 30;
        };
        EXPECT_EQ(countOf(regionPixels(frame->window(), box), greenish) > 0, c.shadow) << c.style;
    }
}

TEST_F(ControlTest, AValueDisplayBackgroundReplacesTheBoxAndTheOutline) {
    const Rect small{100, 50, 130, 65};
    auto* display = attach(new ValueDisplay(small, picture(110), 0));
    display->setValueConverter([](float, char* text) { text[0] = '\0'; });
    display->setBoxPictureOffset({3, 2});
    display->setEdgeColor(colors::red);
    paint();
    EXPECT_EQ(pixel(small.left, small.top), resourcePixel(110, 3, 2));
    EXPECT_EQ(pixel(small.left + 5, small.top + 7), resourcePixel(110, 8, 9));
}

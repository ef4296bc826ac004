// The value display: its text, its box with the outline or the two-colour
// edge, the shadow, and which setters make the next refresh redraw.

#include "ControlTestSupport.h"

#include "gui/ValueDisplay.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr Rect box{100, 50, 160, 70};

class ValueDisplayTest : public ControlTest {
  protected:
    // The pixels of r, its right and bottom edges included.
    std::vector<platform::ColorWord> pixelsOf(const Rect& r) {
        std::vector<platform::ColorWord> out;
        for (std::int32_t y = r.top; y <= r.bottom; ++y)
            for (std::int32_t x = r.left; x <= r.right; ++x)
                out.push_back(pixel(x, y));
        return out;
    }
    // Text is blended into the box, so its pixels are counted by a test
    // of their colour.
    template <typename Test> std::size_t countOf(const Rect& r, Test test) {
        const auto all = pixelsOf(r);
        return static_cast<std::size_t>(std::count_if(all.begin(), all.end(), test));
    }
};

void showEights(float, char* text) {
    std::strcpy(text, "88");
}

} // namespace

TEST_F(ValueDisplayTest, OneHalfShowsAsZeroPointFiveZero) {
    auto* display = attach(new ValueDisplay(box, nullptr, 0));
    display->setValue(0.5f);
    paint();
    // The same box and text drawn by hand further down.
    const Rect byHand{100, 150, 160, 170};
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
    const Rect inside{byHand.left + 1, byHand.top + 1, byHand.right - 1, byHand.bottom - 1};
    ASSERT_GT(countOf(inside, [](platform::ColorWord c) { return c != 0; }), 0u);
    EXPECT_EQ(pixelsOf(box), pixelsOf(byHand));
}

TEST_F(ValueDisplayTest, StyleBitsPickTheEdgeColoursAndTheShadow) {
    // Box blue, edge red, shadow ink green. Either edge bit replaces the
    // outline by two-colour lines; 0x080 gives the upper-left ones the box
    // colour. The top line reaches the right edge.
    const Color blue = colors::blue, red = colors::red;
    const struct {
        std::int32_t style;
        Color upperLeft;
        Color lowerRight;
        bool shadow;
    } cases[] = {
        {0x000, red, red, false},  {0x100, red, blue, false}, {0x080, blue, red, false},
        {0x180, blue, red, false}, {0x004, red, red, true},
    };
    const std::int32_t midH = (box.left + box.right) / 2, midV = (box.top + box.bottom) / 2;
    for (const auto& c : cases) {
        auto* display = new ValueDisplay(box, nullptr, c.style);
        display->setValueConverter(showEights);
        display->setBoxColor(blue);
        display->setEdgeColor(red);
        display->setShadowInkColor(colors::green);
        {
            WindowContext window(frame);
            display->draw(window);
        }
        const platform::ColorWord upperLeft = c.upperLeft.platformColor();
        const platform::ColorWord lowerRight = c.lowerRight.platformColor();
        EXPECT_EQ(pixel(box.left, midV), upperLeft) << c.style;
        EXPECT_EQ(pixel(midH, box.top), upperLeft) << c.style;
        EXPECT_EQ(pixel(box.right, box.top), upperLeft) << c.style;
        EXPECT_EQ(pixel(box.right, midV), lowerRight) << c.style;
        EXPECT_EQ(pixel(midH, box.bottom), lowerRight) << c.style;
        EXPECT_EQ(pixel(box.left + 2, box.top + 2), blue.platformColor()) << c.style;
        // White ink over a blue box mixes red and green alike.
        const auto greenish = [](platform::ColorWord p) {
            return platform::greenOf(p) > platform::redOf(p) + 30;
        };
        EXPECT_EQ(countOf(box, greenish) > 0, c.shadow) << c.style;
        delete display;
    }
}

TEST_F(ValueDisplayTest, ABackgroundReplacesTheBoxAndTheOutline) {
    const Rect small{100, 50, 130, 65};
    auto* display = attach(new ValueDisplay(small, picture(110), 0));
    display->setValueConverter([](float, char* text) { text[0] = '\0'; });
    display->setBoxPictureOffset({3, 2});
    display->setEdgeColor(colors::red);
    paint();
    EXPECT_EQ(pixel(small.left, small.top), resourcePixel(110, 3, 2));
    EXPECT_EQ(pixel(small.left + 5, small.top + 7), resourcePixel(110, 8, 9));
}

TEST_F(ValueDisplayTest, SettersThatChangeTheLookMakeTheNextRefreshRedraw) {
    using Setter = void (*)(ValueDisplay&);
    const struct {
        const char* what;
        Setter same;
        Setter other;
        bool redraws;
    } cases[] = {
        {"font", [](ValueDisplay& d) { d.setFontId(3); }, [](ValueDisplay& d) { d.setFontId(4); },
         true},
        {"ink", [](ValueDisplay& d) { d.setInkColor(colors::white); },
         [](ValueDisplay& d) { d.setInkColor(colors::yellow); }, true},
        {"box", [](ValueDisplay& d) { d.setBoxColor(colors::black); },
         [](ValueDisplay& d) { d.setBoxColor(colors::blue); }, true},
        {"edge", [](ValueDisplay& d) { d.setEdgeColor(colors::black); },
         [](ValueDisplay& d) { d.setEdgeColor(colors::grey); }, true},
        {"shadow", [](ValueDisplay& d) { d.setShadowInkColor(colors::red); },
         [](ValueDisplay& d) { d.setShadowInkColor(colors::aqua); }, true},
        {"align", [](ValueDisplay& d) { d.setTextAlign(AlignCenter); },
         [](ValueDisplay& d) { d.setTextAlign(AlignRight); }, true},
        {"picture offset", [](ValueDisplay& d) { d.setBoxPictureOffset({}); },
         [](ValueDisplay& d) {
             d.setBoxPictureOffset({4, 4});
         },
         false},
        {"converter", [](ValueDisplay& d) { d.setValueConverter(nullptr); },
         [](ValueDisplay& d) { d.setValueConverter(showEights); }, false},
    };
    for (const auto& c : cases) {
        ValueDisplay display(box, nullptr, 0);
        display.setValue(0.25f);
        display.setLastDrawnValue(0.25f);
        c.same(display);
        EXPECT_EQ(display.lastDrawnValue(), 0.25f) << c.what;
        c.other(display);
        EXPECT_FLOAT_EQ(display.lastDrawnValue(), c.redraws ? 0.35f : 0.25f) << c.what;
    }
}

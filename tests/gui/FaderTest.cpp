// Vertical and horizontal faders: where the handle is drawn for a value
// under each style bit, which presses start a drag, and how a drag, with
// and without shift, sets the value.

#include "ControlTestSupport.h"

#include "gui/Faders.h"

using platform::headless::PointerLeft;
using platform::headless::PointerShift;

namespace {

constexpr std::uint32_t leftShift = PointerLeft | PointerShift;

// The editor's fader: background 111 (19 x 243), handle 112 (12 x 19),
// positions 25..246, so range 221, lower limit 3, upper limit 243.
constexpr Rect dryWet{539, 22, 558, 265};
constexpr float range = 221.0f;

class FaderTest : public ControlTest {
  protected:
    VerticalFader* vertical(std::int32_t style, Point handleOffset = {0, 0}) {
        auto* fader =
            attach(new VerticalFader(dryWet, &listener, 7, 25, 246, handle, background, {}, style));
        fader->setHandleOffset(handleOffset);
        return fader;
    }
    void SetUp() override {
        ControlTest::SetUp();
        handle = picture(112);
        background = picture(111);
    }
    // Leading edge of the handle relative to the control after drawing `value`.
    std::int32_t drawnAt(VerticalFader* fader, float value) {
        draw(fader, value);
        return fader->handlePosition() - fader->viewSize().top;
    }
    std::int32_t drawnAt(HorizontalFader* fader, float value) {
        draw(fader, value);
        return fader->handlePosition() - fader->viewSize().left;
    }
    void draw(Control* fader, float value) {
        fader->setValue(value);
        WindowContext context(frame);
        fader->draw(context);
    }

    Bitmap* handle = nullptr;
    Bitmap* background = nullptr;
};

} // namespace

TEST_F(FaderTest, ZeroAtTheBottomPutsValueOneAtTheLowerLimit) {
    VerticalFader* fader = vertical(faderStyle::zeroAtBottom);
    EXPECT_EQ(fader->handlePosition(), 246); // the maximum position until drawn
    EXPECT_EQ(fader->lowerLimit(), 3);
    EXPECT_EQ(fader->upperLimit(), 243);
    EXPECT_EQ(drawnAt(fader, 1.0f), 3);
    EXPECT_EQ(drawnAt(fader, 0.0f), 221);
    EXPECT_EQ(drawnAt(fader, 0.5f), 110);
}

TEST_F(FaderTest, ZeroAtTheTopDrawsTheValueUninverted) {
    VerticalFader* fader = vertical(faderStyle::zeroAtTop);
    EXPECT_EQ(drawnAt(fader, 0.0f), 3);
    EXPECT_EQ(drawnAt(fader, 1.0f), 221);
    fader->setHandleOffset({0, 10});
    EXPECT_EQ(drawnAt(fader, 0.0f), 10);
}

TEST_F(FaderTest, HorizontalStyleBitsPickTheSide) {
    auto* leftZero = attach(new HorizontalFader({100, 200, 200, 219}, &listener, 1, 110, 170,
                                                handle, nullptr, {}, faderStyle::zeroAtLeft));
    auto* rightZero = attach(new HorizontalFader({100, 230, 200, 249}, &listener, 2, 110, 170,
                                                 handle, nullptr, {}, faderStyle::zeroAtRight));
    EXPECT_EQ(leftZero->lowerLimit(), 10);
    EXPECT_EQ(leftZero->upperLimit(), 82);
    EXPECT_EQ(drawnAt(leftZero, 0.0f), 10); // raised to the lower limit
    EXPECT_EQ(leftZero->handlePosition(), 110);
    EXPECT_EQ(drawnAt(leftZero, 1.0f), 60);
    EXPECT_EQ(drawnAt(rightZero, 1.0f), 10);
    EXPECT_EQ(drawnAt(rightZero, 0.0f), 60);
    EXPECT_EQ(rightZero->handlePosition(), 160);
}

TEST_F(FaderTest, TheHandleIsDrawnMaskedWithItsOffsetOverTheBackground) {
    VerticalFader* fader = vertical(faderStyle::zeroAtBottom, {3, 0});
    fader->setValue(1.0f);
    paint(); // handle at (539 + 3, 22 + 3)
    EXPECT_EQ(pixel(542 + 6, 25 + 9), resourcePixel(112, 6, 9));
    EXPECT_EQ(pixel(542, 25), resourcePixel(111, 3, 3)); // transparent corner
    EXPECT_EQ(pixel(539 + 9, 22 + 150), resourcePixel(111, 9, 150));
    fader->setMaskedHandle(false);
    fader->setValue(0.0f);
    frame->pump(); // handle at (542, 22 + 221), corner opaque now
    EXPECT_EQ(pixel(542, 243), resourcePixel(112, 0, 0));
    EXPECT_EQ(pixel(542 + 6, 25 + 9), resourcePixel(111, 9, 12)); // old place cleared
}

TEST_F(FaderTest, AHorizontalHandleLiesAcrossAtItsOffsetButIsPressedFromTheTop) {
    auto* fader = attach(new HorizontalFader({100, 200, 200, 230}, &listener, 1, 110, 170, handle,
                                             nullptr, {}, faderStyle::zeroAtLeft));
    fader->setHandleOffset({0, 5});
    fader->setMaskedHandle(false);
    paint(); // value 0: handle from (110, 205) to (122, 224), black around it
    const platform::ColorWord black = platform::colorWord(0, 0, 0);
    EXPECT_EQ(pixel(110, 205), resourcePixel(112, 0, 0));
    EXPECT_EQ(pixel(121, 223), resourcePixel(112, 11, 18));
    EXPECT_EQ(pixel(110, 204), black);
    EXPECT_EQ(pixel(122, 210), black);
    // Presses count on the handle's size from the control's top edge.
    press(115, 220, PointerLeft, {at(140, 220, PointerLeft)});
    EXPECT_EQ(fader->value(), 0.0f);
    press(115, 219, PointerLeft, {at(140, 219, PointerLeft)});
    EXPECT_NEAR(fader->value(), 25.0f / 60.0f, 1e-6f);
}

TEST_F(FaderTest, OnlyALeftPressOnTheHandleStartsADrag) {
    VerticalFader* fader = vertical(faderStyle::zeroAtBottom);
    fader->setValue(0.5f);
    paint(); // handle from (539, 132) to (551, 151), edges included
    for (const Point where : {Point{545, 131}, Point{552, 140}, Point{545, 152}, Point{545, 60}})
        press(where.h, where.v, PointerLeft, {at(where.h, 40, PointerLeft)});
    for (std::uint32_t buttons : {2u, 4u, 17u, 3u})
        press(545, 140, buttons, {at(545, 40, buttons)});
    EXPECT_EQ(fader->value(), 0.5f);
    EXPECT_TRUE(listener.values.empty());
    press(551, 151, PointerLeft, {at(551, 40, PointerLeft)});
    EXPECT_GT(fader->value(), 0.5f);
}

TEST_F(FaderTest, ADragMovesTheValueByThePointersTravelOverTheRange) {
    VerticalFader* fader = vertical(faderStyle::zeroAtBottom);
    fader->setValue(0.5f);
    paint(); // handle position 132
    press(545, 140, PointerLeft,
          {at(545, 118, PointerLeft), at(545, 162, PointerLeft), at(545, -500, PointerLeft)});
    ASSERT_EQ(listener.values.size(), 4u);
    // At the press: 1 - ((140 - 25) - (140 - 132)) / 221.
    EXPECT_NEAR(listener.values[0], 1.0f - 107.0f / range, 1e-6f);
    EXPECT_NEAR(listener.values[1] - listener.values[0], 22.0f / range, 1e-6f); // up: higher
    EXPECT_NEAR(listener.values[2] - listener.values[0], -22.0f / range, 1e-6f);
    EXPECT_EQ(listener.values[3], 1.0f); // clamped
}

TEST_F(FaderTest, ShiftMovesATenthAsFastCountedFromWhereItWasPressed) {
    VerticalFader* fader = vertical(faderStyle::zeroAtTop);
    fader->setValue(0.5f);
    paint();
    const std::int32_t top = fader->handlePosition();
    press(545, top + 5, PointerLeft,
          {at(545, top + 27, PointerLeft), // full speed: +22
           at(545, top + 27, leftShift),   // shift goes down here
           at(545, top + 49, leftShift),   // +2.2 from there
           at(545, top + 49, PointerLeft), // shift up: full speed again
           at(545, top + 49, leftShift),   // shift down again, here
           at(545, top + 71, leftShift)}); // +2.2 from there
    const std::vector<float>& v = listener.values;
    ASSERT_EQ(v.size(), 7u);
    EXPECT_NEAR(v[1] - v[0], 22.0f / range, 1e-6f);
    EXPECT_NEAR(v[2], v[1], 1e-6f);
    EXPECT_NEAR(v[3] - v[2], 2.2f / range, 1e-6f);
    EXPECT_NEAR(v[4] - v[1], 22.0f / range, 1e-6f);
    EXPECT_NEAR(v[5], v[4], 1e-6f);
    EXPECT_NEAR(v[6] - v[5], 2.2f / range, 1e-6f);
}

TEST_F(FaderTest, APressWithShiftIsFineFromTheStart) {
    VerticalFader* fader = vertical(faderStyle::zeroAtTop);
    fader->setValue(0.5f);
    paint();
    const std::int32_t top = fader->handlePosition();
    press(545, top, leftShift, {at(545, top + 100, leftShift)});
    EXPECT_NEAR(fader->value() - listener.values[0], 10.0f / range, 1e-6f);
    EXPECT_NEAR(listener.values[0], 0.5f, 2.0f / range); // close to the value pressed on
}

TEST_F(FaderTest, AHorizontalDragFollowsThePointerAcross) {
    auto* fader = attach(new HorizontalFader({100, 200, 200, 219}, &listener, 1, 110, 170, handle,
                                             nullptr, {}, faderStyle::zeroAtRight));
    fader->setValue(1.0f);
    paint(); // f = 0: handle left edge at the lower limit, x 110..122
    press(115, 205, PointerLeft,
          {at(145, 205, PointerLeft), at(145, 205, leftShift), at(175, 205, leftShift)});
    // The press itself gives 1, the value drawn, so the listener hears
    // nothing until the pointer moves.
    ASSERT_EQ(listener.values.size(), 3u);
    EXPECT_NEAR(listener.values[0], 1.0f - 30.0f / 60.0f, 1e-6f);
    EXPECT_NEAR(listener.values[2] - listener.values[1], -3.0f / 60.0f, 1e-6f);
    press(150, 205, PointerLeft, {at(100, 205, PointerLeft)}); // beside the handle
    EXPECT_EQ(listener.values.size(), 3u);
}

// The rotary knob: angle of the handle for a value, value for a pointer
// position (with the dead zone at the bottom), drawing and dragging.

#include "ControlTestSupport.h"

#include "gui/RotaryKnob.h"

using platform::headless::PointerLeft;

namespace {

class KnobTest : public ControlTest {
  protected:
    void SetUp() override {
        ControlTest::SetUp();
        background = picture(109);
        handle = picture(108);
    }
    // The editor's knob: 43 x 43, handle 6 x 6 (inset 3), radius 18.5.
    RotaryKnob* editorKnob() {
        return attach(new RotaryKnob({108, 71, 151, 114}, &listener, 1, background, handle, {}));
    }
    // 46 x 46 with inset 3: radius 20, so the circle has integer extremes.
    RotaryKnob* roundKnob() {
        return attach(new RotaryKnob({100, 50, 146, 96}, &listener, 2, nullptr, handle, {}));
    }
    static Point handleAt(RotaryKnob* knob, float value) {
        knob->setValue(value);
        Point p;
        knob->handlePointForValue(p);
        return p;
    }

    Bitmap* background = nullptr;
    Bitmap* handle = nullptr;
};

} // namespace

TEST_F(KnobTest, TheHandleRunsClockwiseFromLowerLeftOverTheTopToLowerRight) {
    RotaryKnob* knob = editorKnob();
    EXPECT_EQ(knob->inset(), 3);
    EXPECT_EQ(handleAt(knob, 0.5f), (Point{21, 3})); // top: p.v is the inset
    EXPECT_EQ(handleAt(knob, 0.0f), (Point{8, 34}));
    EXPECT_EQ(handleAt(knob, 1.0f), (Point{34, 34}));
    EXPECT_EQ(handleAt(knob, 0.25f), (Point{4, 14})); // a little above 9:00

    knob->setMin(2.0f);
    knob->setMax(4.0f);
    EXPECT_EQ(handleAt(knob, 3.0f), (Point{21, 3}));
    EXPECT_EQ(handleAt(knob, 2.0f), (Point{8, 34}));
}

TEST_F(KnobTest, TheBottomOfTheCircleIsMaximumAndJustLeftOfItMinimum) {
    RotaryKnob* knob = roundKnob();
    // Circle centre at (23, 23) in point coordinates, radius 20.
    EXPECT_EQ(knob->valueForPoint({23, 43}), 1.0f); // f = 0.75 exactly
    EXPECT_EQ(knob->valueForPoint({22, 43}), 0.0f);
    EXPECT_EQ(knob->valueForPoint({24, 43}), 1.0f);
    EXPECT_EQ(knob->valueForPoint({23, 3}), 0.5f);
    EXPECT_NEAR(knob->valueForPoint({43, 23}), 5.0f / 6.0f, 1e-6f);
    EXPECT_NEAR(knob->valueForPoint({3, 23}), 1.0f / 6.0f, 1e-6f);
    EXPECT_EQ(knob->valueForPoint({23, 23}), 0.5f); // the centre itself
    // Outside the sweep's ends, values stay within the range.
    EXPECT_EQ(knob->valueForPoint({0, 46}), 0.0f);
    EXPECT_EQ(knob->valueForPoint({46, 46}), 1.0f);

    knob->setMin(-1.0f);
    knob->setMax(3.0f);
    EXPECT_EQ(knob->valueForPoint({23, 43}), 3.0f);
    EXPECT_EQ(knob->valueForPoint({22, 43}), -1.0f);
    EXPECT_EQ(knob->valueForPoint({23, 3}), 1.0f);
}

TEST_F(KnobTest, ThePointOfTheHandleGivesItsValueBack) {
    RotaryKnob* knob = roundKnob();
    for (int i = 0; i <= 20; ++i) {
        const float value = static_cast<float>(i) / 20.0f;
        EXPECT_NEAR(knob->valueForPoint(handleAt(knob, value)), value, 0.03f) << value;
    }
}

TEST_F(KnobTest, DrawsTheMaskedHandleOverTheBackgroundAtTheValuesAngle) {
    RotaryKnob* knob = editorKnob();
    paint(); // value 0: handle top-left at (108 + 8 - 3, 71 + 34 - 3)
    EXPECT_EQ(pixel(115, 104), resourcePixel(108, 2, 2));
    EXPECT_EQ(pixel(113, 102), resourcePixel(109, 5, 31)); // transparent corner
    EXPECT_EQ(pixel(141, 104), resourcePixel(109, 33, 33));
    knob->setValue(1.0f);
    frame->pump();
    EXPECT_EQ(pixel(141, 104), resourcePixel(108, 2, 2));
    EXPECT_EQ(pixel(115, 104), resourcePixel(109, 7, 33)); // the old place is clean
    EXPECT_EQ(knob->lastDrawnValue(), 1.0f);
}

TEST_F(KnobTest, DraggingRoundTheKnobRaisesTheValueClockwise) {
    RotaryKnob* knob = roundKnob();
    // The pointer is taken relative to (size.left - inset, size.top - inset).
    press(100, 70, PointerLeft,
          {at(120, 50, PointerLeft), at(140, 70, PointerLeft), at(121, 90, PointerLeft)});
    ASSERT_EQ(listener.values.size(), 4u);
    EXPECT_NEAR(listener.values[0], 1.0f / 6.0f, 1e-6f);
    EXPECT_EQ(listener.values[1], 0.5f);
    EXPECT_NEAR(listener.values[2], 5.0f / 6.0f, 1e-6f);
    EXPECT_EQ(listener.values[3], 1.0f);
    EXPECT_EQ(knob->value(), 1.0f);
}

TEST_F(KnobTest, AnyButtonTracksNotOnlyTheLeft) {
    RotaryKnob* knob = roundKnob();
    press(120, 50, platform::headless::PointerRight, {at(100, 70, 4)});
    EXPECT_NEAR(knob->value(), 1.0f / 6.0f, 1e-6f);
}

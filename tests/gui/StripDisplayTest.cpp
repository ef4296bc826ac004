// Controls that show a value as pictures of a strip: the picture strip,
// the filmstrip knob, the animation strip, the digit display and the
// level meter.

#include "StripTestSupport.h"

#include "gui/DigitDisplay.h"
#include "gui/FilmstripKnob.h"
#include "gui/LevelMeter.h"
#include "gui/StripControls.h"

using platform::headless::PointerLeft;

namespace {

constexpr Rect place{100, 50, 120, 60}; // one 20 x 10 picture

class StripDisplayTest : public StripControlTest {
  protected:
    // Sets the value, lets the idle refresh draw it and reads the picture.
    template <typename C> std::int32_t pictureFor(C* control, float value) {
        control->setValue(value);
        frame->pump();
        return pictureAt(place.left, place.top);
    }
};

} // namespace

TEST_F(StripDisplayTest, APictureStripShowsTheNearestOfItsPictures) {
    // Four pictures: value x shows picture trunc(3x + 0.5).
    const struct {
        float value;
        std::int32_t picture;
    } cases[] = {{0.16f, 0}, {0.17f, 1}, {0.5f, 2}, {0.84f, 3}, {1.0f, 3}, {-0.5f, 0}, {0.0f, 0}};
    auto* strip =
        attach(new PictureStrip(place, &listener, 1, 4, 10, picture(FourPictures), {0, 0}));
    paint();
    for (const auto& c : cases)
        EXPECT_EQ(pictureFor(strip, c.value), c.picture) << c.value;
    strip->setValue(1.7f);
    frame->pump();
    EXPECT_EQ(strip->value(), 1.0f); // stored lowered
    EXPECT_EQ(pictureAt(place.left, place.top), 3);
}

TEST_F(StripDisplayTest, AFilmstripKnobShowsTheLowerPictureAndTurnsAroundItsWholeSize) {
    // Four pictures of height 10: the strip offset is trunc(30 v) lowered
    // to a multiple of 10.
    const float values[] = {0.32f, 0.34f, 0.99f, 1.0f, -1.0f};
    const std::int32_t pictures[] = {0, 1, 2, 3, 0};
    const Rect square{100, 50, 140, 90};
    auto* knob = attach(new FilmstripKnob(square, &listener, 6, 4, 10, picture(FourPictures), {}));
    paint();
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(pictureFor(knob, values[i]), pictures[i]) << values[i];
    // Without a handle there is no inset: straight above the centre is the
    // middle of the range, level with it on the right 5/6 of it.
    EXPECT_EQ(knob->inset(), 0);
    press(120, 50, PointerLeft);
    EXPECT_FLOAT_EQ(knob->value(), 0.5f);
    press(140, 70, PointerLeft);
    EXPECT_FLOAT_EQ(knob->value(), 0.8333333f);
}

TEST_F(StripDisplayTest, AnAnimationStripStartsStopsAndWrapsAroundTheStrip) {
    auto* strip =
        attach(new AnimationStrip(place, &listener, 9, 4, 10, picture(FourPictures), {3, 0}));
    paint();
    EXPECT_EQ(pictureAt(place.left, place.top), -1); // stopped: nothing drawn

    press(110, 55, PointerLeft);
    EXPECT_TRUE(strip->running());
    EXPECT_EQ(listener.values, std::vector<float>{0.0f});
    strip->nextPicture();
    frame->pump();
    EXPECT_EQ(shown(place.left, place.top), (StripPixel{0, 1, 3, 0}));

    for (int i = 0; i < 3; ++i)
        strip->nextPicture();
    EXPECT_EQ(strip->value(), 0.0f); // past the last picture: the first
    strip->previousPicture();
    EXPECT_EQ(strip->value(), 30.0f); // before the first: the last

    // A press while running shows picture 0 and stops.
    press(110, 55, PointerLeft);
    EXPECT_FALSE(strip->running());
    EXPECT_EQ(strip->value(), 0.0f);
    EXPECT_EQ(pictureAt(place.left, place.top), 0);
}

TEST_F(StripDisplayTest, ADigitDisplayShowsTheWholePartWithinItsRangeDigitByDigit) {
    const std::int32_t xs[] = {200, 210, 220};
    const std::int32_t ys[] = {100, 100, 120};
    const struct {
        float value;
        std::int32_t digits[3];
    } cases[] = {{42.7f, {0, 4, 2}}, {1234.0f, {9, 9, 9}}, {907.0f, {9, 0, 7}}, {-5.0f, {0, 0, 0}}};
    auto* display = attach(new DigitDisplay({200, 100, 226, 128}, &listener, 1, 0.0f, 3, xs, ys, 6,
                                            8, picture(Digits)));
    EXPECT_EQ(display->max(), 999.0f);
    paint();
    for (const auto& c : cases) {
        display->setValue(c.value);
        frame->pump();
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(pictureAt(xs[i], ys[i]), c.digits[i]) << c.value << " digit " << i;
    }
    // A maximum beyond the digits' reach: the first digit would be 10.
    display->setMax(150.0f);
    display->setValue(150.0f);
    frame->pump();
    EXPECT_EQ(pictureAt(xs[0], ys[0]), 9);
    EXPECT_EQ(pictureAt(xs[1], ys[1]), 0);
    EXPECT_EQ(pictureAt(xs[2], ys[2]), 0);
    display->setMax(999.0f);

    display->setValue(499.5f);
    EXPECT_FLOAT_EQ(display->normalizedValue(), 0.5f);
    display->setValue(2000.0f);
    EXPECT_EQ(display->normalizedValue(), 1.0f);

    const std::int32_t many[9] = {};
    DigitDisplay limited({0, 0, 1, 1}, nullptr, 0, 3.0f, 9, many, many, 6, 8, nullptr);
    EXPECT_EQ(limited.digitCount(), 7);
    EXPECT_EQ(limited.max(), 9999999.0f);
    EXPECT_EQ(limited.value(), 3.0f);
}

TEST_F(StripDisplayTest, ALevelMeterFallsByAtMostOneStepPerDraw) {
    // Upright, 10 segments over 40 pixels: 0.9 leaves the top 4 rows off.
    const Rect column{300, 50, 340, 90};
    auto* meter = attach(new LevelMeter(column, picture(MeterOn), picture(MeterOff), 10, 0));
    meter->setFallStep(0.1f);
    paint();
    meter->setValue(1.0f);
    frame->pump();
    EXPECT_EQ(shown(310, 50).strip, 3); // all on
    meter->setValue(0.0f);
    frame->pump();
    EXPECT_FLOAT_EQ(meter->value(), 0.9f);
    EXPECT_EQ(shown(310, 53), (StripPixel{4, 0, 10, 3}));
    EXPECT_EQ(shown(310, 54), (StripPixel{3, 0, 10, 4}));
}

TEST_F(StripDisplayTest, AHorizontalMeterSplitsAtWholeSegments) {
    // Four segments of 10 pixels: 0.55 rounds to two of them.
    const Rect row{340, 90, 300, 50}; // corners given the other way round
    auto* meter = attach(new LevelMeter(row, picture(MeterOn), picture(MeterOff), 4, 1));
    EXPECT_EQ(meter->onRect(), (Rect{300, 50, 340, 90}));
    paint();
    meter->setValue(0.55f);
    frame->pump();
    EXPECT_EQ(shown(319, 70), (StripPixel{3, 0, 19, 20}));
    EXPECT_EQ(shown(320, 70), (StripPixel{4, 0, 20, 20}));
}

// Buttons and switches drawn from picture strips: which picture a value
// shows, and what a press, a drag in and out, and the release do.

#include "StripTestSupport.h"

#include "gui/StripControls.h"
#include "gui/ToggleButton.h"

using platform::headless::PointerLeft;
using platform::headless::PointerState;

namespace {

constexpr Rect place{100, 50, 120, 60}; // one 20 x 10 picture
constexpr std::int32_t inside = 110;
constexpr std::int32_t middle = 55;

class ButtonTest : public StripControlTest {
  protected:
    void SetUp() override {
        StripControlTest::SetUp();
        editor.pumpsFrame = true; // each pass redraws, as the editor's idle does
    }
};

} // namespace

TEST_F(ButtonTest, AToggleButtonFlipsOnTheWholePartOfItsValueAndDrawsAtOnce) {
    // The picture's two halves are the strip's pictures 0 (off) and 1 (on).
    const struct {
        float before;
        float after;
    } cases[] = {{0.0f, 1.0f}, {0.5f, 1.0f}, {1.0f, 0.0f}, {1.7f, 0.0f}};
    auto* button = attach(new ToggleButton(place, &listener, 7, picture(TwoPictures)));
    for (const auto& c : cases) {
        button->setValue(c.before);
        listener.values.clear();
        press(inside, middle, PointerLeft);
        EXPECT_EQ(button->value(), c.after) << c.before;
        EXPECT_EQ(listener.values, std::vector<float>{c.after}) << c.before;
        EXPECT_EQ(pictureAt(place.left, place.top), c.after == 0.0f ? 0 : 1) << c.before;
    }
}

TEST_F(ButtonTest, AStripButtonIsTheOppositeInsideAndTheValueAtThePressOutside) {
    // The stored offset is not used: picture 1 shows from column 0.
    auto* button =
        attach(new PictureStripButton(place, &listener, 3, 10, picture(FourPictures), {5, 20}));
    paint();
    press(inside, middle, PointerLeft,
          {at(200, middle, PointerLeft), at(inside, place.bottom, PointerLeft)});
    EXPECT_EQ(listener.values, (std::vector<float>{1.0f, 0.0f, 1.0f}));
    EXPECT_EQ(button->value(), 1.0f);
    EXPECT_EQ(shown(place.left, place.top), (StripPixel{0, 1, 0, 0}));

    // Already released at the press: it toggles and tells at once.
    listener.values.clear();
    press(inside, middle, 0);
    EXPECT_EQ(button->value(), 0.0f);
    EXPECT_EQ(listener.values, std::vector<float>{0.0f});
}

TEST_F(ButtonTest, AMomentaryButtonEndsAtZeroWithALastReport) {
    auto* button =
        attach(new MomentaryButton(place, &listener, 4, 10, picture(FourPictures), {2, 10}));
    paint();
    // Picture 0 counts from the stored offset: picture 1 of the strip.
    EXPECT_EQ(shown(place.left, place.top), (StripPixel{0, 1, 2, 0}));
    press(inside, middle, PointerLeft, {at(inside, middle, PointerLeft)});
    EXPECT_EQ(listener.values, (std::vector<float>{1.0f, 0.0f}));
    EXPECT_EQ(button->value(), 0.0f);
    listener.values.clear();
    press(inside, middle, 0);
    EXPECT_EQ(listener.values, (std::vector<float>{1.0f, 0.0f}));
    button->setValue(1.0f);
    frame->pump();
    EXPECT_EQ(pictureAt(place.left, place.top), 2);
}

TEST_F(ButtonTest, ARockerSwitchReadsItsHalvesWhileHeldAndEndsEveryActionAtZero) {
    // Halves of the 20 pixels: 100..110 left, 110..120 right; the middle
    // column counts to the left.
    const struct {
        const char* what;
        std::int32_t x;
        std::uint32_t buttons;
        std::vector<PointerState> steps;
        std::vector<float> reported;
    } cases[] = {
        {"held left", 102, PointerLeft, {}, {-1.0f, 0.0f}},
        {"middle column", 110, PointerLeft, {}, {-1.0f, 0.0f}},
        {"held right, then off it",
         115,
         PointerLeft,
         {at(300, middle, PointerLeft)},
         {1.0f, 0.0f, 0.0f}},
        {"left dragged right",
         101,
         PointerLeft,
         {at(119, middle, PointerLeft)},
         {-1.0f, 1.0f, 0.0f}},
        {"released on the right", 118, 0, {}, {1.0f, 0.0f}},
    };
    auto* rocker = attach(new RockerSwitch(place, &listener, 2, 10, picture(FourPictures), {}));
    paint();
    for (const auto& c : cases) {
        frame->pump(); // the 0 the last action ended at is drawn
        listener.values.clear();
        press(c.x, middle, c.buttons, c.steps);
        EXPECT_EQ(listener.values, c.reported) << c.what;
        EXPECT_EQ(rocker->value(), 0.0f) << c.what;
    }
    // Pictures 0, 1 and 2 show -1, 0 and +1; any other value shows 0.
    const float values[] = {-1.0f, 0.0f, 1.0f, 0.5f};
    const std::int32_t pictures[] = {0, 1, 2, 0};
    for (int i = 0; i < 4; ++i) {
        rocker->setValue(values[i]);
        frame->pump();
        EXPECT_EQ(pictureAt(place.left, place.top), pictures[i]) << values[i];
    }
}

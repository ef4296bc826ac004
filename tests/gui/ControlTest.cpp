// What every control shares: drawing on refresh, the tracking loop with its
// paced idle and its rest between polls, reset to default, mouse-active.

#include "ControlTestSupport.h"

#include "gui/Faders.h"
#include "gui/PopupPicture.h"
#include "gui/RotaryKnob.h"
#include "gui/Selectors.h"

using platform::headless::PointerLeft;

namespace {

class CountingControl : public Control {
  public:
    using Control::Control;
    void draw(DrawContext&) override { ++draws; }
    int draws = 0;
};

// Knob of radius 20 around (120, 70) for the pointer (handle 108, inset 3):
// the top of its circle (120, 50) means 0.5, the left (100, 70) 1/6, the
// right (140, 70) 5/6.
constexpr Rect knobRect{100, 50, 146, 96};

} // namespace

TEST_F(ControlTest, RefreshDrawsOnlyWhenTheValueDiffersFromTheLastDrawn) {
    CountingControl control({0, 0, 10, 10}, &listener, 3);
    WindowContext context(frame);
    control.refresh(context); // a new control at value 0 still draws once
    control.refresh(context);
    EXPECT_EQ(control.draws, 1);
    EXPECT_EQ(control.lastDrawnValue(), 0.0f);
    control.setValue(0.25f);
    control.refresh(context);
    control.refresh(context);
    EXPECT_EQ(control.draws, 2);
    EXPECT_EQ(control.lastDrawnValue(), 0.25f);
}

TEST_F(ControlTest, TheFirstIdleRefreshShowsANewKnob) {
    Bitmap *background = picture(109), *handle = picture(108);
    paint();
    auto* knob = attach(new RotaryKnob({108, 71, 151, 114}, &listener, 1, background, handle, {}));
    knob->setValue(0.5f);
    const platform::ColorWord seat = resourcePixel(109, 21, 21);
    EXPECT_NE(pixel(108 + 21, 71 + 21), seat);
    frame->pump();
    EXPECT_EQ(pixel(108 + 21, 71 + 21), seat);
    EXPECT_EQ(knob->lastDrawnValue(), 0.5f);
}

TEST_F(ControlTest, EveryPassDrivesThePacedIdleAndRestsBeforeTheNextPoll) {
    Bitmap* handle = picture(108);
    attach(new RotaryKnob(knobRect, &listener, 1, nullptr, handle, {}));
    const std::uint64_t waitedBefore = platform::headless::waitedMilliseconds();
    // Three passes: the press and two scripted steps; then the script runs dry.
    press(120, 50, PointerLeft, {at(100, 70, PointerLeft), at(100, 70, PointerLeft)});
    EXPECT_EQ(editor.idleCalls, 3);
    EXPECT_EQ(platform::headless::waitedMilliseconds() - waitedBefore, 3u);
}

TEST_F(ControlTest, UntilRedrawnTheListenerHearsTheSameValueOnEveryPass) {
    Bitmap* handle = picture(108);
    attach(new RotaryKnob(knobRect, &listener, 4, nullptr, handle, {}));
    press(120, 50, PointerLeft, {at(120, 50, PointerLeft), at(100, 70, PointerLeft)});
    EXPECT_EQ(listener.values, (std::vector<float>{0.5f, 0.5f, listener.values.back()}));
    EXPECT_NEAR(listener.values.back(), 1.0f / 6.0f, 1e-6f);
    EXPECT_EQ(listener.tags, (std::vector<std::int32_t>{4, 4, 4}));
}

TEST_F(ControlTest, OnceTheIdleRedrawsItTheSameValueIsNotReportedAgain) {
    Bitmap* handle = picture(108);
    editor.pumpsFrame = true;
    paint();
    attach(new RotaryKnob(knobRect, &listener, 1, nullptr, handle, {}));
    press(120, 50, PointerLeft, {at(120, 50, PointerLeft), at(120, 50, PointerLeft)});
    EXPECT_EQ(listener.values, std::vector<float>{0.5f});
}

TEST_F(ControlTest, TheLoopEndsWhenOnlyAModifierIsLeftHeld) {
    Bitmap* handle = picture(108);
    attach(new RotaryKnob(knobRect, &listener, 1, nullptr, handle, {}));
    press(120, 50, PointerLeft,
          {at(100, 70, platform::headless::PointerShift), at(140, 70, PointerLeft)});
    EXPECT_EQ(editor.idleCalls, 1);
    EXPECT_EQ(platform::headless::pendingPointerSteps(), 1u);
}

TEST_F(ControlTest, WithoutAnEditorTheLoopStillRuns) {
    Bitmap* handle = picture(108);
    Frame* bare = new Frame({0, 0, 200, 200}, host, nullptr);
    auto* knob = new RotaryKnob(knobRect, &listener, 1, nullptr, handle, {});
    bare->attachView(knob);
    platform::headless::scriptPointer({at(100, 70, PointerLeft)});
    platform::headless::deliverButtonPress(bare->window(), 120, 50, PointerLeft);
    EXPECT_NEAR(knob->value(), 1.0f / 6.0f, 1e-6f);
    delete bare;
}

TEST_F(ControlTest, LeftWithAltResetsToTheDefaultReportingOnlyARealChange) {
    Bitmap *handle = picture(108), *switches = picture(110);
    WindowContext context(frame);
    auto* knob = attach(new RotaryKnob(knobRect, &listener, 1, nullptr, handle, {}));
    auto* selector =
        attach(new RowSelector({300, 10, 342, 27}, &listener, 5, 2, 17, 2, switches, {}));
    EXPECT_EQ(selector->defaultValue(), 0.0f);
    knob->setValue(0.5f);
    knob->draw(context); // last drawn = default
    selector->setValue(1.0f);
    selector->draw(context);
    knob->setValue(0.9f);
    const std::uint32_t leftAlt = PointerLeft | platform::headless::PointerAlt;
    press(100, 50, leftAlt, {at(140, 70, leftAlt)});
    EXPECT_EQ(knob->value(), 0.5f);
    EXPECT_TRUE(listener.values.empty());
    EXPECT_EQ(platform::headless::pendingPointerSteps(), 1u); // no tracking followed
    press(330, 20, leftAlt);
    EXPECT_EQ(selector->value(), 0.0f);
    EXPECT_EQ(listener.values, std::vector<float>{0.0f});
}

TEST_F(ControlTest, AnInactiveControlIgnoresEveryPress) {
    Bitmap *handle = picture(108), *switches = picture(110), *fader = picture(112),
           *popupPicture = picture(104);
    std::vector<Control*> controls{
        new RotaryKnob({0, 0, 46, 46}, &listener, 1, nullptr, handle, {}),
        new RowSelector({50, 0, 92, 17}, &listener, 2, 2, 17, 2, switches, {}),
        new ColumnSelector({100, 0, 142, 34}, &listener, 3, 2, 17, 2, switches, {}),
        new VerticalFader({150, 0, 162, 100}, &listener, 4, 0, 81, fader, nullptr, {}, 0x20),
        new HorizontalFader({200, 0, 300, 19}, &listener, 5, 200, 288, fader, nullptr, {}, 0x08),
        new PopupPicture({310, 0, 320, 10}, &listener, 6, popupPicture, {0, 0, 268, 268}, {})};
    for (Control* control : controls) {
        attach(control);
        control->setMouseActive(false);
        control->setValue(0.0f);
    }
    paint();
    for (const Point where :
         {Point{23, 3}, Point{80, 5}, Point{110, 30}, Point{155, 5}, Point{205, 5}, Point{315, 5}})
        for (std::uint32_t buttons : {1u, 33u})
            press(where.h, where.v, buttons, {at(where.h + 9, where.v + 9, buttons)});
    for (Control* control : controls)
        EXPECT_EQ(control->value(), 0.0f) << control->tag();
    EXPECT_TRUE(listener.values.empty());
    EXPECT_EQ(frame->exclusiveView(), nullptr);
}

TEST_F(ControlTest, ControlsHoldOneReferenceToEachPictureWhileTheyLive) {
    Bitmap *a = picture(109), *b = picture(108), *c = picture(110), *d = picture(112),
           *e = picture(111), *f = picture(104);
    auto* knob = new RotaryKnob(knobRect, &listener, 1, a, b, {});
    auto* selector = new ColumnSelector({0, 0, 42, 34}, &listener, 2, 2, 17, 2, c, {});
    auto* fader = new HorizontalFader({0, 0, 100, 19}, &listener, 3, 0, 88, d, e, {}, 0x08);
    auto* popup = new PopupPicture({0, 0, 9, 9}, &listener, 4, f, {0, 0, 268, 268}, {});
    const std::vector<Bitmap*> held{a, b, c, d, e, f};
    for (Bitmap* bitmap : held)
        EXPECT_EQ(bitmap->referenceCount(), 2);
    knob->setBackgroundPicture(knob->backgroundPicture()); // the same again: kept alive
    EXPECT_EQ(held[0]->referenceCount(), 2);
    knob->setBackgroundPicture(nullptr);
    EXPECT_EQ(held[0]->referenceCount(), 1);
    delete knob;
    delete selector;
    delete fader;
    delete popup;
    for (Bitmap* bitmap : held)
        EXPECT_EQ(bitmap->referenceCount(), 1);
}

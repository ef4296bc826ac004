// The editor's layout and its life cycle around opening and closing, seen
// from the editor object with a headless host window.

#include "editor/ShaperEditor.h"
#include "editor/CurveEditor.h"
#include "editor/ShaperEffectEdit.h"
#include "gui/Bitmap.h"
#include "gui/Faders.h"
#include "gui/Frame.h"
#include "gui/PopupPicture.h"
#include "gui/RotaryKnob.h"
#include "gui/Selectors.h"
#include "platform/Headless.h"
#include "platform/Windowing.h"

#include <gtest/gtest.h>

namespace {

IntPtr VARNEX_CALL plainHost(EffectRecord*, std::int32_t opcode, std::int32_t, IntPtr, void*,
                             float) {
    return opcode == HostVersion ? 2400 : 0;
}

class ShaperEditorTest : public ::testing::Test {
  protected:
    void SetUp() override { host = platform::headless::createHostWindow(0, 0, 600, 300); }
    void TearDown() override { platform::destroyWindow(host); }

    ShaperEffectEdit effect{&plainHost};
    ShaperEditor* editor = effect.shaperEditor();
    platform::Window* host = nullptr;
};

TEST_F(ShaperEditorTest, OpensWithNineControlsInTheirPlaces) {
    effect.setParameterValue(2, 0.25f);
    effect.setParameterValue(6, 1.0f);
    effect.setParameterValue(7, 0.75f);
    ASSERT_EQ(editor->openWindow(host), 1);
    Frame* frame = editor->editorFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->viewSize(), (Rect{0, 0, 568, 290}));
    ASSERT_EQ(frame->viewCount(), 9);

    const Rect expected[9] = {
        {14, 18, 89, 268},    {167, 11, 434, 278},  {108, 71, 151, 114},
        {107, 207, 150, 250}, {453, 207, 496, 250}, {453, 71, 496, 114},
        {107, 262, 149, 279}, {454, 130, 496, 147}, {539, 22, 558, 265},
    };
    const std::int32_t tags[9] = {100, 0, 1, 2, 3, 4, 5, 6, 7};
    for (int i = 0; i < 9; ++i) {
        auto* control = dynamic_cast<Control*>(frame->viewAt(i));
        ASSERT_NE(control, nullptr) << i;
        EXPECT_EQ(control->viewSize(), expected[i]) << i;
        EXPECT_EQ(control->tag(), tags[i]) << i;
    }
    EXPECT_NE(dynamic_cast<PopupPicture*>(frame->viewAt(0)), nullptr);
    EXPECT_NE(dynamic_cast<CurveEditor*>(frame->viewAt(1)), nullptr);
    EXPECT_EQ(editor->popupPicture()->displayRect(), (Rect{167, 11, 435, 279}));

    for (std::int32_t tag = 1; tag <= 7; ++tag)
        EXPECT_EQ(editor->controlFor(tag)->value(), effect.parameterValue(tag)) << tag;
    VerticalFader* fader = editor->dryWetFader();
    EXPECT_EQ(fader->handleOffset(), (Point{3, 0}));
    EXPECT_EQ(fader->style(), 0x40);
    EXPECT_EQ(fader->lowerLimit(), 25 - 22);
    EXPECT_EQ(fader->upperLimit(), 246 + 19 - 22);
    EXPECT_EQ(editor->selector(5)->pictureHeight(), 17);
    EXPECT_EQ(editor->selector(5)->positions(), 2);
    EXPECT_EQ(effect.attachedCurve(), editor->curveEditor());
}

TEST_F(ShaperEditorTest, ParameterZeroOrAnOutOfRangeIndexChangesNoControlButSchedulesAnUpdate) {
    editor->openWindow(host);
    editor->onIdle();
    std::vector<float> before;
    for (std::int32_t tag = 1; tag <= 7; ++tag)
        before.push_back(editor->controlFor(tag)->value());
    editor->parameterChanged(0, 0.7f);
    EXPECT_TRUE(editor->isUpdatePending());
    editor->onIdle();
    editor->parameterChanged(42, 0.7f);
    EXPECT_TRUE(editor->isUpdatePending());
    editor->onIdle();
    for (std::int32_t tag = 1; tag <= 7; ++tag)
        EXPECT_EQ(editor->controlFor(tag)->value(), before[static_cast<std::size_t>(tag - 1)]);
}

TEST_F(ShaperEditorTest, ControlsShowWhatTheEffectHoldsNotTheValueReported) {
    editor->openWindow(host);
    effect.setParameterValue(3, 0.2f);
    editor->parameterChanged(3, 0.9f);
    editor->onIdle();
    EXPECT_EQ(editor->knob(3)->value(), 0.2f);
}

TEST_F(ShaperEditorTest, ReopeningLoadsTheControlBitmapsAgainAndTheBackgroundOnce) {
    Bitmap* background = editor->background();
    ASSERT_NE(background, nullptr);
    EXPECT_EQ(background->resourceId(), 101);
    EXPECT_FALSE(editor->bitmapsLoaded());

    editor->openWindow(host);
    EXPECT_TRUE(editor->bitmapsLoaded());
    EXPECT_EQ(editor->knob(1)->handlePicture()->resourceId(), 108);
    // The editor and the knob hold the handle; each knob retains it too.
    EXPECT_EQ(editor->knob(1)->handlePicture()->referenceCount(), 5);
    EXPECT_EQ(background->referenceCount(), 2) << "the editor's and the frame's";

    editor->closeWindow();
    EXPECT_FALSE(editor->bitmapsLoaded());
    EXPECT_EQ(editor->editorFrame(), nullptr);
    EXPECT_EQ(editor->curveEditor(), nullptr);
    EXPECT_EQ(editor->background(), background);
    EXPECT_EQ(background->referenceCount(), 1);
    EXPECT_EQ(effect.attachedCurve() != nullptr, true) << "the saved points, not the old editor";

    editor->openWindow(host);
    EXPECT_TRUE(editor->bitmapsLoaded());
    EXPECT_EQ(editor->background(), background);
    EXPECT_EQ(editor->knob(4)->handlePicture()->referenceCount(), 5);
    editor->closeWindow();
    editor->closeWindow(); // closing a closed editor does nothing
}

TEST_F(ShaperEditorTest, OpeningTwiceReplacesTheWindowInsteadOfLeakingIt) {
    editor->openWindow(host);
    editor->openWindow(host);
    EXPECT_EQ(platform::headless::childWindowCount(host), 1);
}

} // namespace

// The popup picture: a press on the hot spot shows the picture as the
// frame's exclusive view, the next press on it hides it again.

#include "ControlTestSupport.h"

#include "gui/PopupPicture.h"

using platform::headless::PointerLeft;

namespace {

constexpr Rect hotSpot{14, 18, 89, 268};
constexpr Rect display{167, 11, 435, 279};

class PopupPictureTest : public ControlTest {
  protected:
    void SetUp() override {
        ControlTest::SetUp();
        frame->setBackgroundBitmap(picture(101));
        popup = attach(new PopupPicture(hotSpot, &listener, 100, picture(104), display, {}));
        paint();
    }

    PopupPicture* popup = nullptr;
};

} // namespace

TEST_F(PopupPictureTest, OpeningShowsThePictureAsTheExclusiveView) {
    EXPECT_EQ(popup->savedSize(), (Rect{0, 0, 0, 0}));
    EXPECT_EQ(pixel(300, 150), resourcePixel(101, 300, 150));
    press(50, 100, platform::headless::PointerRight);
    EXPECT_EQ(popup->value(), 1.0f);
    EXPECT_EQ(frame->exclusiveView(), popup);
    EXPECT_EQ(popup->viewSize(), display);
    EXPECT_EQ(popup->savedSize(), hotSpot);
    EXPECT_EQ(pixel(300, 150), resourcePixel(104, 300 - 167, 150 - 11));
    EXPECT_EQ(listener.tags, std::vector<std::int32_t>{100});
    EXPECT_EQ(listener.values, std::vector<float>{1.0f});
}

TEST_F(PopupPictureTest, TheNextPressOnThePictureClosesItAndRedrawsTheFrame) {
    press(50, 100, PointerLeft);
    press(50, 100, PointerLeft); // outside the picture now: dropped by the frame
    EXPECT_EQ(popup->value(), 1.0f);
    press(430, 270, PointerLeft);
    EXPECT_EQ(popup->value(), 0.0f);
    EXPECT_EQ(frame->exclusiveView(), nullptr);
    EXPECT_EQ(popup->viewSize(), hotSpot);
    EXPECT_EQ(pixel(300, 150), resourcePixel(101, 300, 150));
    EXPECT_EQ(listener.values, (std::vector<float>{1.0f, 0.0f}));
    press(50, 100, PointerLeft); // and it opens again
    EXPECT_EQ(frame->exclusiveView(), popup);
}

TEST_F(PopupPictureTest, RefusedByTheFrameItStaysAtOneUnseenAndKeepsItsHotSpot) {
    RecordingView other({500, 0, 510, 10}, "other", journal);
    ASSERT_TRUE(frame->setExclusiveView(&other));
    {
        WindowContext context(frame);
        popup->mouseDown(context, {50, 100});
    }
    EXPECT_EQ(popup->value(), 1.0f);
    EXPECT_EQ(popup->viewSize(), hotSpot);
    EXPECT_TRUE(listener.values.empty());
    EXPECT_EQ(pixel(300, 150), resourcePixel(101, 300, 150));
    // The next press closes it without touching the other view's claim.
    {
        WindowContext context(frame);
        popup->mouseDown(context, {50, 100});
    }
    EXPECT_EQ(popup->value(), 0.0f);
    EXPECT_EQ(popup->viewSize(), hotSpot);
    EXPECT_EQ(frame->exclusiveView(), &other);
    EXPECT_EQ(listener.values, std::vector<float>{0.0f});
    frame->setExclusiveView(nullptr);
    press(50, 100, PointerLeft); // the hot spot still works
    EXPECT_EQ(frame->exclusiveView(), popup);
}

// The frame's view list and the routing of presses, draws and refreshes.

#include "TestSupport.h"

#include "gui/Bitmap.h"
#include "gui/OffscreenContext.h"

namespace {

class FrameTest : public HostWindowTest {
  protected:
    void SetUp() override {
        HostWindowTest::SetUp();
        frame = makeFrame();
        deviceContext = platform::windowContext(frame->window());
        context = new DrawContext(frame, deviceContext, frame->window());
    }
    void TearDown() override {
        delete context;
        platform::releaseWindowContext(frame->window(), deviceContext);
        delete frame;
        HostWindowTest::TearDown();
    }
    RecordingView* attach(const Rect& size, const std::string& name, bool* destroyed = nullptr) {
        auto* view = new RecordingView(size, name, journal, destroyed);
        EXPECT_TRUE(frame->attachView(view));
        return view;
    }

    Frame* frame = nullptr;
    platform::DeviceContext* deviceContext = nullptr;
    DrawContext* context = nullptr;
};

} // namespace

TEST_F(FrameTest, APressCoveredByTwoViewsGoesToTheLaterOneEdgesIncluded) {
    attach({10, 10, 50, 50}, "first");
    attach({30, 30, 70, 70}, "second");
    frame->mouseDown(*context, {40, 40});
    frame->mouseDown(*context, {50, 50}); // right and bottom edge of the first
    frame->mouseDown(*context, {20, 50}); // bottom edge, only the first
    frame->mouseDown(*context, {70, 70}); // right and bottom edge of the second
    frame->mouseDown(*context, {71, 40}); // nobody
    EXPECT_EQ(journal, (std::vector<std::string>{"second:press 40,40", "second:press 50,50",
                                                 "first:press 20,50", "second:press 70,70"}));
}

TEST_F(FrameTest, AnExclusiveViewAloneTakesPressesAndRefreshesAndIsDrawnLast) {
    attach({0, 0, 100, 100}, "below");
    RecordingView popup({20, 20, 40, 40}, "popup", journal);
    EXPECT_TRUE(frame->setExclusiveView(&popup));
    RecordingView other({0, 0, 1, 1}, "other", journal);
    EXPECT_FALSE(frame->setExclusiveView(&other));
    EXPECT_EQ(frame->exclusiveView(), &popup);

    frame->mouseDown(*context, {10, 10}); // outside the exclusive view: dropped
    frame->mouseDown(*context, {40, 40});
    frame->refresh(*context);
    frame->draw(*context);
    EXPECT_EQ(journal, (std::vector<std::string>{"popup:press 40,40", "popup:refresh", "below:draw",
                                                 "popup:draw"}));
    EXPECT_TRUE(frame->setExclusiveView(nullptr));
    journal.clear();
    frame->refresh(*context);
    frame->mouseDown(*context, {10, 10});
    EXPECT_EQ(journal, (std::vector<std::string>{"below:refresh", "below:press 10,10"}));
}

TEST_F(FrameTest, APressOutsideTheKeyboardViewTakesItsFocusAway) {
    RecordingView* field = attach({0, 0, 20, 20}, "field");
    attach({50, 50, 60, 60}, "knob");
    frame->setKeyboardView(field);
    frame->mouseDown(*context, {10, 10}); // inside: the focus stays
    EXPECT_EQ(frame->keyboardView(), field);
    frame->mouseDown(*context, {55, 55});
    EXPECT_EQ(frame->keyboardView(), nullptr);
    EXPECT_EQ(journal, (std::vector<std::string>{"field:press 10,10", "field:releaseFocus",
                                                 "knob:press 55,55"}));
}

TEST_F(FrameTest, DrawShowsTheBackgroundThenTheViewsInOrder) {
    Bitmap* background = new Bitmap(101);
    frame->setBackgroundBitmap(background);
    EXPECT_EQ(background->referenceCount(), 2);
    attach({0, 0, 1, 1}, "a");
    attach({0, 0, 1, 1}, "b");
    EXPECT_TRUE(frame->isFirstPaintPending());
    frame->draw(*context);
    EXPECT_FALSE(frame->isFirstPaintPending());
    EXPECT_EQ(journal, (std::vector<std::string>{"a:draw", "b:draw"}));
    frame->setBackgroundBitmap(nullptr);
    EXPECT_EQ(background->referenceCount(), 1);
    background->release();
}

TEST_F(FrameTest, TheEleventhViewGrowsTheListToTwenty) {
    for (int i = 0; i < 10; ++i)
        attach({0, 0, 1, 1}, std::string("v").append(std::to_string(i)));
    EXPECT_EQ(frame->viewCapacity(), 10);
    RecordingView* eleventh = attach({0, 0, 1, 1}, "v10");
    EXPECT_EQ(frame->viewCount(), 11);
    EXPECT_EQ(frame->viewCapacity(), 20);
    EXPECT_EQ(frame->viewAt(10), eleventh);
    EXPECT_EQ(eleventh->frame(), frame);
    EXPECT_EQ(frame->viewAt(0)->frame(), frame);
    EXPECT_FALSE(frame->attachView(nullptr));
}

TEST_F(FrameTest, DetachKeepsTheOrderAndTheViewAlive) {
    bool destroyed = false;
    attach({0, 0, 1, 1}, "a");
    RecordingView* b = attach({0, 0, 1, 1}, "b", &destroyed);
    attach({0, 0, 1, 1}, "c");
    EXPECT_TRUE(frame->detachView(b));
    EXPECT_EQ(frame->viewCount(), 2);
    EXPECT_FALSE(destroyed);
    frame->draw(*context);
    EXPECT_EQ(journal, (std::vector<std::string>{"a:draw", "c:draw"}));
    EXPECT_TRUE(frame->detachView(b)); // not in the list any more: still true
    delete b;
    EXPECT_TRUE(destroyed);
}

TEST_F(FrameTest, SetBackdropTakesOnlyAnOffscreenAtLeastTheViewsSize) {
    RecordingView view({10, 10, 30, 40}, "v", journal);
    OffscreenContext narrow(frame, 19, 40, colors::black);
    OffscreenContext low(frame, 20, 29, colors::black);
    OffscreenContext fits(frame, 20, 30, colors::black);
    view.setBackdrop(&narrow);
    EXPECT_EQ(view.backdrop(), nullptr);
    view.setBackdrop(&low);
    EXPECT_EQ(view.backdrop(), nullptr);
    view.setBackdrop(&fits);
    EXPECT_EQ(view.backdrop(), &fits);
    view.setBackdrop(nullptr);
    EXPECT_EQ(view.backdrop(), &fits);
}

TEST(FrameOwnership, DestructionDestroysViewsReleasesFocusAndTheBackground) {
    std::vector<std::string> journal;
    bool firstGone = false, secondGone = false;
    Bitmap* background = new Bitmap(101);
    {
        Frame frame({0, 0, 100, 100}, nullptr, nullptr);
        auto* first = new RecordingView({0, 0, 1, 1}, "first", journal, &firstGone);
        frame.attachView(first);
        frame.attachView(new RecordingView({0, 0, 1, 1}, "second", journal, &secondGone));
        frame.setKeyboardView(first);
        frame.setBackgroundBitmap(background);
        EXPECT_FALSE(frame.isOpen() && frame.window()); // no parent: no window
    }
    EXPECT_TRUE(firstGone);
    EXPECT_TRUE(secondGone);
    EXPECT_EQ(journal, (std::vector<std::string>{"first:releaseFocus"}));
    EXPECT_EQ(background->referenceCount(), 1);
    background->release();
}

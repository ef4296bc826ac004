// The frame's platform window: its class, painting, presses through the
// window procedure, the idle pump and the host destroying its window.

#include "TestSupport.h"

#include "gui/Bitmap.h"
#include "gui/ToolkitModule.h"
#include "platform/Diagnostics.h"
#include "platform/Drawing.h"

#include <cstdio>

using FrameWindowTest = HostWindowTest;

TEST_F(FrameWindowTest, TheWindowIsAChildOfTheHostWindowAtTheFramesSize) {
    Frame* frame = makeFrame({0, 0, 568, 290});
    ASSERT_NE(frame->window(), nullptr);
    EXPECT_TRUE(frame->isOpen());
    EXPECT_EQ(platform::parentWindow(frame->window()), host);
    platform::IntRect rect;
    platform::windowRect(frame->window(), rect);
    EXPECT_EQ(rect.left, 200);
    EXPECT_EQ(rect.top, 100);
    EXPECT_EQ(rect.right - rect.left, 568);
    EXPECT_EQ(rect.bottom - rect.top, 290);
    delete frame;
    EXPECT_EQ(platform::headless::childWindowCount(host), 0);
}

TEST_F(FrameWindowTest, TwoFramesShareOneClassOfTheModuleUnregisteredWhenTheSecondGoes) {
    // The class is named after the low 32 bits of the module handle.
    static char module[16];
    setToolkitModule(module);
    char expected[32];
    std::snprintf(expected, sizeof expected, "Plugin%08x",
                  static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(module) & 0xFFFFFFFFu));
    Frame* first = makeFrame();
    EXPECT_STREQ(Frame::windowClassName(), expected);
    Frame* second = makeFrame();
    EXPECT_EQ(Frame::windowClassUseCount(), 2);
    delete first;
    EXPECT_EQ(Frame::windowClassUseCount(), 1);
    EXPECT_TRUE(platform::isWindowClassRegistered(expected, module));
    delete second;
    EXPECT_EQ(Frame::windowClassUseCount(), 0);
    EXPECT_FALSE(platform::isWindowClassRegistered(expected, module));
    setToolkitModule(nullptr);
}

TEST_F(FrameWindowTest, APaintMessageDrawsTheBackgroundAndTheViews) {
    Frame* frame = makeFrame();
    Bitmap* background = new Bitmap(101);
    frame->setBackgroundBitmap(background);
    background->release();
    frame->attachView(new RecordingView({0, 0, 10, 10}, "view", journal));
    ASSERT_TRUE(platform::headless::deliverPaint(frame->window()));
    EXPECT_FALSE(frame->isFirstPaintPending());
    EXPECT_EQ(journal, (std::vector<std::string>{"view:draw"}));
    // Compare a few pixels with the picture itself.
    platform::PixelMap* picture = platform::loadPixelMapResource(nullptr, 101);
    platform::DeviceContext* probe = platform::createMemoryContext(nullptr);
    platform::selectPixelMap(probe, picture);
    for (int y = 5; y < 290; y += 37)
        for (int x = 3; x < 568; x += 41)
            EXPECT_EQ(windowPixel(frame->window(), x, y), platform::pixel(probe, x, y))
                << x << "," << y;
    platform::deleteMemoryContext(probe);
    platform::deletePixelMap(picture);
    delete frame;
}

TEST_F(FrameWindowTest, BothButtonsArriveAsPressesAtTheirPoint) {
    Frame* frame = makeFrame();
    frame->attachView(new RecordingView({100, 100, 200, 200}, "view", journal));
    platform::headless::deliverButtonPress(frame->window(), 150, 160,
                                           platform::headless::PointerLeft);
    platform::headless::deliverButtonPress(frame->window(), 200, 200,
                                           platform::headless::PointerRight);
    platform::headless::deliverButtonPress(frame->window(), 20, 20,
                                           platform::headless::PointerLeft);
    EXPECT_EQ(journal, (std::vector<std::string>{"view:press 150,160", "view:press 200,200"}));
    delete frame;
}

TEST_F(FrameWindowTest, PumpDrawsNothingBeforeTheFirstPaint) {
    Frame* frame = makeFrame();
    frame->attachView(new RecordingView({0, 0, 10, 10}, "view", journal));
    frame->pump();
    EXPECT_TRUE(journal.empty());
    platform::headless::deliverPaint(frame->window());
    journal.clear();
    frame->pump();
    EXPECT_EQ(journal, (std::vector<std::string>{"view:refresh"}));
    delete frame;
}

TEST_F(FrameWindowTest, PaintViewDrawsOneAttachedViewOrEverything) {
    Frame* frame = makeFrame();
    auto* a = new RecordingView({0, 0, 10, 10}, "a", journal);
    frame->attachView(a);
    frame->attachView(new RecordingView({0, 0, 10, 10}, "b", journal));
    frame->paintView(a);
    EXPECT_EQ(journal, (std::vector<std::string>{"a:draw"}));
    journal.clear();
    RecordingView stranger({0, 0, 10, 10}, "stranger", journal);
    frame->paintView(&stranger);
    EXPECT_EQ(journal, (std::vector<std::string>{"a:draw", "b:draw"}));
    journal.clear();
    a->requestRedraw();
    frame->paintView(nullptr);
    EXPECT_EQ(journal, (std::vector<std::string>{"a:draw", "a:draw", "b:draw"}));
    delete frame;
}

TEST_F(FrameWindowTest, TheHostDestroyingItsWindowFirstLeavesTheFrameClosedAndSafe) {
    Frame* frame = makeFrame();
    frame->attachView(new RecordingView({0, 0, 10, 10}, "view", journal));
    platform::headless::deliverPaint(frame->window());
    journal.clear();
    platform::destroyWindow(host);
    host = platform::headless::createHostWindow(0, 0, 10, 10); // for the fixture's teardown
    EXPECT_FALSE(frame->isOpen());
    EXPECT_EQ(frame->window(), nullptr);
    EXPECT_EQ(frame->parentWindowHandle(), nullptr);
    frame->pump();
    frame->paintView(nullptr);
    EXPECT_TRUE(journal.empty());
    EXPECT_EQ(Frame::windowClassUseCount(), 1); // still held by the frame
    delete frame;
    EXPECT_EQ(Frame::windowClassUseCount(), 0);
    EXPECT_FALSE(platform::isWindowClassRegistered(Frame::windowClassName(), toolkitModule()));
}

TEST_F(FrameWindowTest, MessagesForAWindowWithoutAFrameGoToTheDefaultHandling) {
    Frame* frame = makeFrame();
    frame->attachView(new RecordingView({0, 0, 600, 300}, "view", journal));
    platform::Window* window = frame->window();
    platform::setWindowUserData(window, 0);
    platform::headless::deliverPaint(window);
    platform::headless::deliverButtonPress(window, 5, 5, platform::headless::PointerLeft);
    EXPECT_TRUE(journal.empty());
    EXPECT_TRUE(frame->isFirstPaintPending());
    delete frame;
}

TEST_F(FrameWindowTest, ResizingTheHostWindowsFollowsTheFrameUpwards) {
    // host (600 x 320) > frame (568 x 290)
    Frame* frame = makeFrame();
    EXPECT_FALSE(frame->resizeHostWindows(568, 290)); // same size
    EXPECT_TRUE(frame->resizeHostWindows(600, 300));
    EXPECT_EQ(frame->viewSize(), (Rect{0, 0, 600, 300}));
    platform::IntRect rect;
    platform::windowRect(frame->window(), rect);
    EXPECT_EQ(rect.right - rect.left, 600);
    platform::windowRect(host, rect);
    // The host was 32 wider than the frame: it keeps that margin.
    EXPECT_EQ(rect.right - rect.left, 632);
    EXPECT_EQ(rect.bottom - rect.top, 330);
    delete frame;
}

TEST_F(FrameWindowTest, HostWindowGeometryIsReadTwoAndThreeLevelsUp) {
    // desktop > host > holder's window > frame's window
    Frame* holder = makeFrame({0, 0, 400, 300}); // a frame window as the middle level
    Frame* frame = new Frame({0, 0, 100, 100}, holder->window(), nullptr);
    std::int32_t x = 0, y = 0;
    ASSERT_TRUE(frame->hostWindowPosition(x, y));
    EXPECT_EQ(x, 200); // the host's corner on the screen
    EXPECT_EQ(y, 100);
    Rect rect;
    ASSERT_TRUE(frame->hostWindowRect(rect));
    EXPECT_EQ(rect, (Rect{200, 100, 600, 400}));
    delete frame;
    delete holder;
}

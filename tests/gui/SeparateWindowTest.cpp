// Separate-window mode: the frame asks its editor for a window of the
// host's own and gives it back.

#include "TestSupport.h"

#include "gui/FrameEditor.h"
#include "gui/WindowDescription.h"

#include <cstring>
#include <string>

namespace {

// An editor whose host opens headless windows on request and notes what it
// was asked.
class WindowHostEditor : public FrameEditor {
  public:
    void trackingIdle() override {}
    void* openHostWindow(WindowDescription& description) override {
        calls.push_back("open");
        seen = description;
        if (givesWindows)
            window = platform::headless::createHostWindow(description.x, description.y,
                                                          description.width, description.height);
        return window;
    }
    void closeHostWindow(WindowDescription& description) override {
        calls.push_back("close");
        closedWith = &description;
        platform::destroyWindow(window);
        window = nullptr;
    }

    bool givesWindows = true;
    std::vector<std::string> calls;
    WindowDescription seen{};
    const WindowDescription* closedWith = nullptr;
    platform::Window* window = nullptr;
};

class SeparateWindowTest : public HostWindowTest {
  protected:
    WindowHostEditor editor;
};

} // namespace

TEST_F(SeparateWindowTest, TheDescriptionCarriesTitlePositionSizeAndStyle) {
    Frame frame({30, 40, 330, 240}, "Varnex", &editor, 0x1234);
    EXPECT_FALSE(frame.isOpen());
    EXPECT_EQ(frame.window(), nullptr);
    const WindowDescription* d = frame.windowDescription();
    ASSERT_NE(d, nullptr);
    EXPECT_STREQ(d->title, "Varnex");
    EXPECT_EQ(d->x, 30);
    EXPECT_EQ(d->y, 40);
    EXPECT_EQ(d->width, 300);
    EXPECT_EQ(d->height, 200);
    EXPECT_EQ(d->style, 0x1234);
    EXPECT_EQ(d->reserved[0] | d->reserved[1] | d->reserved[2], 0);
}

TEST_F(SeparateWindowTest, ALongTitleIsCutToFitItsField) {
    const std::string longTitle(300, 'x');
    Frame frame({0, 0, 10, 10}, longTitle.c_str(), &editor, 0);
    EXPECT_EQ(std::strlen(frame.windowDescription()->title), 127u);
}

TEST_F(SeparateWindowTest, OpeningAsksTheHostAndCreatesTheWindowInIt) {
    Frame* frame = new Frame({0, 0, 300, 200}, "Varnex", &editor, 0);
    const Point position{70, 80};
    EXPECT_TRUE(frame->openSeparateWindow(&position));
    EXPECT_EQ(editor.seen.x, 70);
    EXPECT_EQ(editor.seen.y, 80);
    EXPECT_TRUE(frame->isOpen());
    ASSERT_NE(frame->window(), nullptr);
    EXPECT_EQ(platform::parentWindow(frame->window()), editor.window);
    EXPECT_FALSE(frame->openSeparateWindow()); // already open
    EXPECT_EQ(editor.calls, (std::vector<std::string>{"open"}));

    EXPECT_TRUE(frame->closeSeparateWindow());
    EXPECT_EQ(editor.closedWith, frame->windowDescription());
    EXPECT_FALSE(frame->isOpen()); // the host destroyed its window
    EXPECT_FALSE(frame->closeSeparateWindow());
    delete frame;
    EXPECT_EQ(editor.calls, (std::vector<std::string>{"open", "close"}));
    EXPECT_EQ(Frame::windowClassUseCount(), 0);
}

TEST_F(SeparateWindowTest, DestroyingAnOpenSeparateFrameClosesTheHostWindow) {
    Frame* frame = new Frame({0, 0, 300, 200}, "Varnex", &editor, 0);
    ASSERT_TRUE(frame->openSeparateWindow());
    delete frame;
    EXPECT_EQ(editor.calls, (std::vector<std::string>{"open", "close"}));
    EXPECT_EQ(editor.window, nullptr);
}

TEST_F(SeparateWindowTest, AHostWithoutWindowsLeavesTheFrameClosed) {
    editor.givesWindows = false;
    Frame frame({0, 0, 300, 200}, "Varnex", &editor, 0);
    EXPECT_FALSE(frame.openSeparateWindow());
    EXPECT_FALSE(frame.isOpen());
    EXPECT_EQ(frame.window(), nullptr);
}

TEST_F(SeparateWindowTest, OnlySeparateFramesOpenSeparateWindows) {
    Frame* child = makeFrame();
    EXPECT_FALSE(child->openSeparateWindow());
    EXPECT_FALSE(child->closeSeparateWindow());
    delete child;
    EXPECT_TRUE(editor.calls.empty());
}

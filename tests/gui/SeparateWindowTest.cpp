// Separate-window mode: the frame asks the effect's host for a window of
// its own and gives it back.

#include "TestSupport.h"

#include "gui/FrameEditor.h"
#include "gui/WindowDescription.h"
#include "host/ExtendedEffect.h"

#include <cstring>
#include <string>

namespace {

// A host that opens headless windows on request and notes what it was asked.
struct FakeHost {
    std::vector<std::string> calls;
    platform::Window* window = nullptr;
    WindowDescription seen{};
};
FakeHost* fakeHost = nullptr;

IntPtr VARNEX_CALL fakeHostCallback(EffectRecord*, std::int32_t opcode, std::int32_t, IntPtr,
                                    void* ptr, float) {
    if (!fakeHost)
        return 0;
    if (opcode == 39) {
        std::memcpy(&fakeHost->seen, ptr, sizeof fakeHost->seen);
        fakeHost->calls.push_back("open");
        fakeHost->window = platform::headless::createHostWindow(
            fakeHost->seen.x, fakeHost->seen.y, fakeHost->seen.width, fakeHost->seen.height);
        return reinterpret_cast<IntPtr>(fakeHost->window);
    }
    if (opcode == 40) {
        fakeHost->calls.push_back(ptr == nullptr ? "close without description" : "close");
        platform::destroyWindow(fakeHost->window);
        fakeHost->window = nullptr;
        return 1;
    }
    return 0;
}

class TestEffect : public ExtendedEffect {
  public:
    TestEffect() : ExtendedEffect(fakeHostCallback, 1, 1) {}
    void processAdding(float**, float**, std::int32_t) override {}
};

class TestEditor : public FrameEditor {
  public:
    explicit TestEditor(ExtendedEffect* effect) : effect(effect) {}
    void trackingIdle() override {}
    ExtendedEffect* windowHostEffect() override { return effect; }
    ExtendedEffect* effect;
};

class SeparateWindowTest : public HostWindowTest {
  protected:
    void SetUp() override {
        HostWindowTest::SetUp();
        fakeHost = &host_;
    }
    void TearDown() override {
        fakeHost = nullptr;
        HostWindowTest::TearDown();
    }
    FakeHost host_;
    TestEffect effect;
    TestEditor editor{&effect};
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
    EXPECT_EQ(host_.seen.x, 70);
    EXPECT_EQ(host_.seen.y, 80);
    EXPECT_TRUE(frame->isOpen());
    ASSERT_NE(frame->window(), nullptr);
    EXPECT_EQ(platform::parentWindow(frame->window()), host_.window);
    EXPECT_FALSE(frame->openSeparateWindow()); // already open
    EXPECT_EQ(host_.calls, (std::vector<std::string>{"open"}));

    EXPECT_TRUE(frame->closeSeparateWindow());
    EXPECT_FALSE(frame->isOpen()); // the host destroyed its window
    EXPECT_FALSE(frame->closeSeparateWindow());
    delete frame;
    EXPECT_EQ(host_.calls, (std::vector<std::string>{"open", "close"}));
    EXPECT_EQ(Frame::windowClassUseCount(), 0);
}

TEST_F(SeparateWindowTest, DestroyingAnOpenSeparateFrameClosesTheHostWindow) {
    Frame* frame = new Frame({0, 0, 300, 200}, "Varnex", &editor, 0);
    ASSERT_TRUE(frame->openSeparateWindow());
    delete frame;
    EXPECT_EQ(host_.calls, (std::vector<std::string>{"open", "close"}));
    EXPECT_EQ(host_.window, nullptr);
}

TEST_F(SeparateWindowTest, AHostWithoutWindowsLeavesTheFrameClosed) {
    fakeHost = nullptr; // the callback answers 0 to everything
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
    EXPECT_TRUE(host_.calls.empty());
}

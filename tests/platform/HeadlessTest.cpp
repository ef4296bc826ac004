#include "platform/Headless.h"
#include "platform/Drawing.h"
#include "platform/Input.h"
#include "platform/Windowing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Every message any test window receives, in order.
std::vector<std::string> journal;

platform::MessageResult recordingProcedure(platform::Window* window, std::uint32_t message,
                                           platform::WordParam wParam, platform::LongParam lParam) {
    std::string entry =
        std::to_string(message) + "@" + std::to_string(platform::windowUserData(window));
    if (message == platform::MessageLeftButtonDown || message == platform::MessageRightButtonDown) {
        entry += ' ';
        entry += std::to_string(platform::positionX(lParam));
        entry += ',';
        entry += std::to_string(platform::positionY(lParam));
    }
    journal.push_back(entry);
    return platform::defaultWindowProcedure(window, message, wParam, lParam);
}

constexpr const char* className = "HeadlessTestClass";
void* const module = reinterpret_cast<void*>(0x1234);

class HeadlessTest : public ::testing::Test {
  protected:
    void SetUp() override {
        journal.clear();
        ASSERT_TRUE(platform::registerWindowClass(className, recordingProcedure, module));
        host = platform::headless::createHostWindow(100, 50, 300, 200);
    }
    void TearDown() override {
        platform::destroyWindow(host);
        EXPECT_TRUE(platform::unregisterWindowClass(className, module));
        platform::headless::setPointer({});
        platform::headless::useRealClock();
    }
    platform::Window* child(int x, int y, int w, int h, platform::Window* parent) {
        return platform::createWindow(className, "Window",
                                      platform::StyleChild | platform::StyleVisible, x, y, w, h,
                                      parent, module);
    }
    platform::Window* host = nullptr;
};

} // namespace

TEST_F(HeadlessTest, ClassesAreKeyedByNameAndModule) {
    EXPECT_FALSE(platform::registerWindowClass(className, recordingProcedure, module));
    EXPECT_TRUE(platform::isWindowClassRegistered(className, module));
    EXPECT_FALSE(platform::isWindowClassRegistered(className, nullptr));
    EXPECT_EQ(
        platform::createWindow("NoSuchClass", "", platform::StyleChild, 0, 0, 5, 5, host, module),
        nullptr);
    EXPECT_EQ(
        platform::createWindow(className, "", platform::StyleChild, 0, 0, 5, 5, host, nullptr),
        nullptr);
}

TEST_F(HeadlessTest, AClassStaysWhileItHasWindows) {
    platform::Window* w = child(0, 0, 10, 10, host);
    EXPECT_FALSE(platform::unregisterWindowClass(className, module));
    platform::destroyWindow(w);
    EXPECT_TRUE(platform::isWindowClassRegistered(className, module));
}

TEST_F(HeadlessTest, AChildNeedsALiveParent) {
    platform::Window* gone = child(0, 0, 10, 10, host);
    platform::destroyWindow(gone);
    EXPECT_FALSE(platform::isWindow(gone));
    EXPECT_EQ(child(0, 0, 10, 10, gone), nullptr);
    EXPECT_FALSE(platform::destroyWindow(gone));
    EXPECT_EQ(platform::windowUserData(gone), 0);
}

TEST_F(HeadlessTest, DestroyingAParentTellsItThenItsChildren) {
    platform::Window* middle = child(0, 0, 50, 50, host);
    platform::Window* inner = child(0, 0, 20, 20, middle);
    platform::setWindowUserData(middle, 1);
    platform::setWindowUserData(inner, 2);
    const int before = platform::headless::liveWindowCount();
    platform::destroyWindow(middle);
    EXPECT_EQ(journal, (std::vector<std::string>{"2@1", "2@2"}));
    EXPECT_FALSE(platform::isWindow(inner));
    EXPECT_EQ(platform::headless::liveWindowCount(), before - 2);
    EXPECT_EQ(platform::headless::childWindowCount(host), 0);
}

TEST_F(HeadlessTest, PaintsAndPressesReachTheWindowProcedure) {
    platform::Window* w = child(0, 0, 50, 50, host);
    platform::setWindowUserData(w, 7);
    EXPECT_TRUE(platform::hasUpdateRegion(w)); // a new window waits for its first paint
    platform::headless::deliverPaint(w);
    EXPECT_FALSE(platform::hasUpdateRegion(w)); // default handling validates it
    platform::headless::deliverButtonPress(w, 12, 34, platform::headless::PointerLeft);
    platform::headless::deliverButtonPress(w, 1, 2, platform::headless::PointerRight);
    EXPECT_EQ(journal, (std::vector<std::string>{"15@7", "513@7 12,34", "516@7 1,2"}));
    platform::destroyWindow(w);
}

TEST_F(HeadlessTest, GeometryMapsBetweenClientAreasAndTheScreen) {
    platform::Window* w = child(10, 20, 50, 40, host);
    platform::IntRect rect;
    ASSERT_TRUE(platform::windowRect(w, rect));
    EXPECT_EQ(rect.left, 110);
    EXPECT_EQ(rect.top, 70);
    EXPECT_EQ(rect.right, 160);
    EXPECT_EQ(rect.bottom, 110);
    platform::IntPoint p{115, 75};
    platform::mapWindowPoints(nullptr, w, &p, 1);
    EXPECT_EQ(p.x, 5);
    EXPECT_EQ(p.y, 5);
    platform::mapWindowPoints(w, host, &p, 1);
    EXPECT_EQ(p.x, 15);
    EXPECT_EQ(p.y, 25);
    EXPECT_EQ(platform::parentWindow(w), host);
    EXPECT_EQ(platform::parentWindow(host), nullptr);
    EXPECT_TRUE(platform::resizeWindow(w, 70, 30));
    platform::windowRect(w, rect);
    EXPECT_EQ(rect.right - rect.left, 70);
    EXPECT_EQ(rect.bottom - rect.top, 30);
    platform::destroyWindow(w);
}

TEST_F(HeadlessTest, AContextOutlivingItsWindowStillDrawsSafely) {
    platform::Window* w = child(0, 0, 10, 10, host);
    platform::DeviceContext* context = platform::windowContext(w);
    platform::destroyWindow(w);
    platform::setPixel(context, 1, 1, 0);
    EXPECT_TRUE(platform::releaseWindowContext(nullptr, context));
}

TEST_F(HeadlessTest, ScriptedPointerMovesOnEachPositionPollAndReleasesAtTheEnd) {
    platform::headless::scriptPointer(
        {{1, 2, platform::headless::PointerLeft},
         {3, 4, platform::headless::PointerLeft | platform::headless::PointerShift}});
    platform::IntPoint p;
    platform::cursorPosition(p);
    EXPECT_EQ(p.x, 1);
    EXPECT_TRUE(platform::isKeyDown(platform::Key::LeftButton));
    EXPECT_FALSE(platform::isKeyDown(platform::Key::Shift));
    platform::cursorPosition(p);
    EXPECT_EQ(p.y, 4);
    EXPECT_TRUE(platform::isKeyDown(platform::Key::Shift));
    EXPECT_EQ(platform::headless::pendingPointerSteps(), 0u);
    platform::cursorPosition(p); // the script is used up
    EXPECT_EQ(p.x, 3);
    EXPECT_FALSE(platform::isKeyDown(platform::Key::LeftButton));
}

TEST_F(HeadlessTest, APressPutsThePointerOnItsScreenPositionAndKeepsTheScript) {
    platform::Window* w = child(10, 10, 50, 50, host);
    platform::headless::scriptPointer({{500, 600, 0}});
    platform::headless::deliverButtonPress(
        w, 5, 6, platform::headless::PointerLeft | platform::headless::PointerAlt);
    const auto now = platform::headless::pointer();
    EXPECT_EQ(now.x, 115);
    EXPECT_EQ(now.y, 66);
    EXPECT_TRUE(platform::isKeyDown(platform::Key::Alt));
    EXPECT_EQ(platform::headless::pendingPointerSteps(), 1u);
    platform::destroyWindow(w);
}

TEST_F(HeadlessTest, TheClockCanBeHeldAndMoved) {
    platform::headless::setClock(0xFFFFFFF0u);
    EXPECT_EQ(platform::tickCount(), 0xFFFFFFF0u);
    platform::headless::advanceClock(0x20);
    EXPECT_EQ(platform::tickCount(), 0x10u); // wraps like the platform's counter
}

TEST(HeadlessPosition, PositionWordsKeepSignedCoordinates) {
    const auto word = platform::packPosition(-3, 700);
    EXPECT_EQ(platform::positionX(word), -3);
    EXPECT_EQ(platform::positionY(word), 700);
}

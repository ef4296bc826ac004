#include "platform/Headless.h"
#include "platform/Menus.h"
#include "platform/TextEditing.h"
#include "platform/Windowing.h"
#include "platform/widgets/PopupList.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Step = platform::headless::MenuStep;

class HeadlessMenuTest : public ::testing::Test {
  protected:
    void SetUp() override {
        owner = platform::headless::createHostWindow(0, 0, 200, 100);
        bystander = platform::headless::createHostWindow(300, 0, 50, 50);
        menu = platform::createPopupMenu();
        platform::appendMenu(menu, platform::MenuString, 0, "a");
        platform::appendMenu(menu, platform::MenuSeparator, 1, nullptr);
        platform::appendMenu(menu, platform::MenuString, 2, "b");
    }
    void TearDown() override {
        platform::destroyMenu(menu);
        platform::destroyWindow(bystander);
        platform::destroyWindow(owner);
        platform::headless::scriptMenu({});
    }
    // Where row `index` of the menu lies on the screen, the menu opened at (x, y).
    platform::IntPoint rowCentre(std::int32_t index, std::int32_t x, std::int32_t y) {
        platform::widgets::PopupList list(
            {{"a", 0, false, false}, {"", 1, true, false}, {"b", 2, false, false}});
        const platform::IntRect r = list.rowRect(index);
        return {x + (r.left + r.right) / 2, y + (r.top + r.bottom) / 2};
    }
    platform::Window* owner = nullptr;
    platform::Window* bystander = nullptr;
    platform::Menu* menu = nullptr;
};

} // namespace

TEST_F(HeadlessMenuTest, AChoiceReachesOnlyItsOwner) {
    const platform::IntPoint b = rowCentre(2, 40, 30);
    platform::headless::scriptMenu({{Step::Move, b.x, b.y}, {Step::Click, b.x, b.y}});
    const auto windows = platform::headless::liveWindowCount();
    ASSERT_TRUE(platform::trackPopupMenu(menu, 40, 30, owner));
    EXPECT_EQ(platform::headless::liveWindowCount(), windows);

    platform::PostedMessage message;
    EXPECT_FALSE(platform::takeMessage(message, bystander, 0, 0));
    ASSERT_TRUE(
        platform::takeMessage(message, owner, platform::MessageCommand, platform::MessageCommand));
    EXPECT_EQ(message.window, owner);
    EXPECT_EQ(message.wParam, 2u);
    EXPECT_FALSE(platform::takeMessage(message, nullptr, 0, 0));
}

TEST_F(HeadlessMenuTest, CancelledMenusPostNothing) {
    const platform::IntPoint separator = rowCentre(1, 0, 0);
    const std::vector<std::vector<Step>> scripts = {
        {},                                        // the script runs dry
        {{Step::Key, 0, 0, platform::KeyEscape}},  // Escape
        {{Step::Click, 500, 500}},                 // a click outside
        {{Step::Click, separator.x, separator.y}}, // a separator, then dry
    };
    for (const auto& script : scripts) {
        platform::headless::scriptMenu(script);
        EXPECT_TRUE(platform::trackPopupMenu(menu, 0, 0, owner));
        platform::PostedMessage message;
        EXPECT_FALSE(platform::takeMessage(message, nullptr, 0, 0)) << script.size();
    }
}

TEST_F(HeadlessMenuTest, LastMenuKeepsItsPlaceAndHighlight) {
    const platform::IntPoint b = rowCentre(2, 20, 10);
    platform::headless::scriptMenu(
        {{Step::Move, b.x, b.y}, {Step::Key, 0, 0, platform::KeyEscape}});
    platform::trackPopupMenu(menu, 20, 10, owner);
    const platform::IntRect rect = platform::headless::lastMenuRect();
    EXPECT_EQ(rect.left, 20);
    EXPECT_EQ(rect.top, 10);
    std::int32_t width = 0, height = 0;
    const auto pixels = platform::headless::lastMenuPixels(width, height);
    ASSERT_EQ(width, rect.right - rect.left);
    ASSERT_EQ(height, rect.bottom - rect.top);
    const auto at = [&](std::int32_t x, std::int32_t y) {
        return pixels[static_cast<std::size_t>((y - rect.top) * width + (x - rect.left))];
    };
    // The row under the pointer is lit, the other entry is not.
    const platform::IntPoint a = rowCentre(0, 20, 10);
    EXPECT_GT(platform::blueOf(at(rect.left + 3, b.y)),
              platform::redOf(at(rect.left + 3, b.y)) + 100);
    EXPECT_EQ(platform::blueOf(at(rect.left + 3, a.y)), platform::redOf(at(rect.left + 3, a.y)));
}

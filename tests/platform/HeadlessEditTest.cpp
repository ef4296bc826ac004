#include "platform/Headless.h"
#include "platform/TextEditing.h"
#include "platform/Windowing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// What a replacement procedure saw, before handing each message on.
struct Seen {
    std::uint32_t message;
    platform::WordParam wParam;
};
std::vector<Seen> seen;
platform::WindowProcedure editProcedure = nullptr;

platform::MessageResult watchingProcedure(platform::Window* window, std::uint32_t message,
                                          platform::WordParam wParam, platform::LongParam lParam) {
    seen.push_back({message, wParam});
    return platform::callWindowProcedure(editProcedure, window, message, wParam, lParam);
}

bool saw(std::uint32_t message, platform::WordParam wParam) {
    return std::any_of(seen.begin(), seen.end(),
                       [&](const Seen& s) { return s.message == message && s.wParam == wParam; });
}

std::string textOf(platform::Window* window) {
    char buffer[256];
    platform::windowText(window, buffer, sizeof buffer);
    return buffer;
}

class HeadlessEditTest : public ::testing::Test {
  protected:
    void SetUp() override {
        seen.clear();
        host = platform::headless::createHostWindow(0, 0, 200, 100);
    }
    void TearDown() override { platform::destroyWindow(host); }
    platform::Window* edit(const char* text) {
        return platform::createWindow(platform::EditClassName, text,
                                      platform::StyleChild | platform::StyleVisible |
                                          platform::EditStyleAutoScroll,
                                      10, 10, 80, 20, host, nullptr);
    }
    platform::Window* host = nullptr;
};

} // namespace

TEST_F(HeadlessEditTest, ReplacedProcedureSeesKeysAndFocusLoss) {
    platform::Window* field = edit("ab");
    ASSERT_NE(field, nullptr);
    EXPECT_FALSE(platform::headless::pressKey(platform::KeyEnd)); // nothing has the focus yet
    platform::setFocus(field);
    editProcedure = platform::setWindowProcedure(field, watchingProcedure);
    ASSERT_NE(editProcedure, nullptr);

    EXPECT_TRUE(platform::headless::typeText("c.D"));
    EXPECT_EQ(textOf(field), "abc.D");
    EXPECT_FALSE(saw(platform::MessageKeyDown, platform::KeyDelete)); // '.' is not the delete key
    EXPECT_TRUE(platform::headless::pressKey(platform::KeyReturn));
    EXPECT_TRUE(saw(platform::MessageKeyDown, platform::KeyReturn));

    platform::Window* other = edit("");
    EXPECT_EQ(platform::setFocus(other), field);
    EXPECT_TRUE(saw(platform::MessageKillFocus, reinterpret_cast<platform::WordParam>(other)));
    EXPECT_EQ(platform::focusWindow(), other);
    platform::destroyWindow(other);
    EXPECT_EQ(platform::focusWindow(), nullptr);
}

TEST_F(HeadlessEditTest, TheEditorMayEndInsideAKeyMessage) {
    // As a text field does on return: the edit window goes while its
    // procedure handles the key, and the character that follows finds no
    // focus.
    platform::Window* field = edit("x");
    platform::setFocus(field);
    editProcedure = platform::setWindowProcedure(
        field,
        [](platform::Window* w, std::uint32_t m, platform::WordParam wp,
           platform::LongParam lp) -> platform::MessageResult {
            if (m == platform::MessageKeyDown && wp == platform::KeyReturn)
                platform::destroyWindow(w);
            return platform::callWindowProcedure(editProcedure, w, m, wp, lp);
        });
    EXPECT_TRUE(platform::headless::pressKey(platform::KeyReturn));
    EXPECT_FALSE(platform::isWindow(field));
    EXPECT_EQ(platform::focusWindow(), nullptr);
}

TEST_F(HeadlessEditTest, WindowTextKeepsToTheLimit) {
    platform::Window* field = edit("hello");
    char buffer[8] = "junk";
    EXPECT_EQ(platform::windowText(field, buffer, 3), 2);
    EXPECT_STREQ(buffer, "he");
    platform::destroyWindow(field);
    EXPECT_EQ(platform::windowText(field, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "");
}

TEST_F(HeadlessEditTest, TypingShowsInTheWindowsPicture) {
    platform::Window* field = edit("");
    platform::setFocus(field);
    const auto ink = [&] {
        std::int32_t w = 0, h = 0;
        const auto pixels = platform::headless::windowPixels(field, w, h);
        return std::count_if(pixels.begin(), pixels.end(),
                             [](platform::ColorWord c) { return platform::redOf(c) < 128; });
    };
    const auto caretOnly = ink();
    EXPECT_GT(caretOnly, 0);
    platform::headless::typeText("WW");
    EXPECT_GT(ink(), caretOnly + 10);
}

#include "platform/widgets/LineEditor.h"
#include "RasterFixture.h"
#include "platform/Diagnostics.h"
#include "platform/Drawing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using platform::widgets::LineEditor;

namespace {

constexpr std::uint32_t scrolling = platform::EditStyleAutoScroll;
constexpr std::uint32_t centred = platform::EditStyleCentre | platform::EditStyleAutoScroll;

// A key-down (a virtual key) or a character.
struct Step {
    std::int32_t key = 0;
    std::int32_t character = 0;
};
Step key(std::int32_t k) {
    return {k, 0};
}
Step typed(char c) {
    return {0, c};
}

struct EditCase {
    const char* name;
    const char* initial;
    std::vector<Step> steps;
    const char* text;
    std::int32_t caret;
};

} // namespace

TEST(LineEditorTest, KeysEditAroundTheCaret) {
    using namespace platform;
    const EditCase cases[] = {
        {"insert at the caret", "bc", {key(KeyHome), typed('a')}, "abc", 1},
        {"backspace at 0", "ab", {key(KeyHome), key(KeyBackspace)}, "ab", 0},
        {"backspace inside", "abc", {key(KeyLeft), key(KeyBackspace)}, "ac", 1},
        {"delete at the end", "ab", {key(KeyDelete)}, "ab", 2},
        {"delete inside", "abc", {key(KeyHome), key(KeyRight), key(KeyDelete)}, "ac", 1},
        {"home and end", "abc", {key(KeyHome), key(KeyEnd)}, "abc", 3},
        {"left stops at 0", "a", {key(KeyLeft), key(KeyLeft)}, "a", 0},
        {"right stops at the end", "a", {key(KeyRight)}, "a", 1},
        {"control characters ignored", "a", {typed('\b'), typed('\r'), typed('\x7F')}, "a", 1},
    };
    for (const EditCase& c : cases) {
        LineEditor editor(c.initial, scrolling, 80, 20);
        for (const Step& step : c.steps)
            step.key ? editor.keyDown(step.key) : editor.character(step.character);
        EXPECT_EQ(editor.text(), c.text) << c.name;
        EXPECT_EQ(editor.caret(), c.caret) << c.name;
    }
}

TEST(LineEditorTest, TextStopsAt255Characters) {
    LineEditor editor(std::string(300, 'x').c_str(), scrolling, 80, 20);
    EXPECT_EQ(editor.text().size(), 255u);
    EXPECT_FALSE(editor.character('y'));
    editor.keyDown(platform::KeyBackspace);
    EXPECT_TRUE(editor.character('y'));
    EXPECT_EQ(editor.text().back(), 'y');
}

TEST(LineEditorTest, CaretStaysInsideTheBox) {
    LineEditor editor(std::string(60, 'm').c_str(), scrolling, 50, 20);
    editor.setMargins(platform::EditLeftMargin | platform::EditRightMargin, 3 | 4 << 16);
    const auto inside = [&] { return editor.caretX() >= 3 && editor.caretX() < 50 - 4; };
    EXPECT_TRUE(inside()) << editor.caretX();
    EXPECT_GT(editor.scroll(), 0);
    editor.keyDown(platform::KeyHome);
    EXPECT_TRUE(inside()) << editor.caretX();
    EXPECT_EQ(editor.scroll(), 0);

    // Without scrolling the box takes no more than it shows.
    LineEditor fixed("", 0, 30, 20);
    while (fixed.character('m')) {
    }
    EXPECT_GT(fixed.text().size(), 0u);
    EXPECT_LT(fixed.text().size(), 10u);
}

TEST(LineEditorTest, ClickPutsTheCaretOnTheNearestBoundary) {
    LineEditor editor("abcdef", 0, 100, 20);
    editor.click(0, 10);
    EXPECT_EQ(editor.caret(), 0);
    editor.click(99, 10);
    EXPECT_EQ(editor.caret(), 6);
    editor.click(editor.caretX() - 1, 10);
    EXPECT_EQ(editor.caret(), 6);
}

using LineEditorDrawingTest = RasterFixture;

TEST_F(LineEditorDrawingTest, CaretIsDrawnOnlyWhileFocused) {
    makeSurface(60, 20);
    LineEditor editor("", centred, 60, 20);
    for (const bool focused : {true, false}) {
        editor.setFocused(focused);
        editor.draw(context);
        EXPECT_EQ(platform::pixel(context, editor.caretX(), 10), focused ? ink : paper)
            << "focused " << focused;
    }
}

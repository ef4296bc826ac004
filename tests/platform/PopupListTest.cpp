#include "platform/widgets/PopupList.h"
#include "platform/Menus.h"
#include "platform/TextEditing.h"

#include "RasterFixture.h"

#include <gtest/gtest.h>

#include <vector>

using platform::widgets::PopupList;
using State = PopupList::State;

namespace {

// "a", a separator, "b" and a checked "c", identified 10, 0, 12, 13.
std::vector<platform::widgets::MenuEntry> sampleEntries() {
    using platform::widgets::makeMenuEntry;
    return {makeMenuEntry(platform::MenuString, 10, "a"),
            makeMenuEntry(platform::MenuSeparator, 0, "ignored"),
            makeMenuEntry(platform::MenuString, 12, "b"),
            makeMenuEntry(platform::MenuChecked, 13, "c")};
}

platform::IntPoint centreOf(const platform::IntRect& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

} // namespace

TEST(PopupListTest, LayoutFitsTextAndThinSeparators) {
    PopupList list(sampleEntries());
    const platform::IntRect entry = list.rowRect(0);
    const platform::IntRect separator = list.rowRect(1);
    EXPECT_LT(separator.bottom - separator.top, entry.bottom - entry.top);
    EXPECT_EQ(separator.top, entry.bottom);
    EXPECT_LE(list.rowRect(3).bottom, list.height());
    EXPECT_TRUE(list.entries()[1].text.empty());

    auto wide = sampleEntries();
    wide[0].text = "a much longer entry than any of the others";
    EXPECT_GT(PopupList(wide).width(), list.width());
}

TEST(PopupListTest, PointerHighlightsAndClickChooses) {
    PopupList list(sampleEntries());
    const platform::IntPoint b = centreOf(list.rowRect(2));
    EXPECT_TRUE(list.pointerMove(b.x, b.y));
    EXPECT_EQ(list.highlighted(), 2);
    const platform::IntPoint separator = centreOf(list.rowRect(1));
    list.pointerMove(separator.x, separator.y);
    EXPECT_EQ(list.highlighted(), -1);
    EXPECT_FALSE(list.click(separator.x, separator.y));
    EXPECT_EQ(list.state(), State::Open);
    EXPECT_TRUE(list.click(b.x, b.y));
    EXPECT_EQ(list.state(), State::Chosen);
    EXPECT_EQ(list.chosenIdentifier(), 12u);
}

TEST(PopupListTest, ClickOutsideCancels) {
    PopupList list(sampleEntries());
    EXPECT_TRUE(list.click(list.width(), 2));
    EXPECT_EQ(list.state(), State::Cancelled);
}

TEST(PopupListTest, KeysMoveOverEntriesAndEnd) {
    using namespace platform;
    struct KeyCase {
        const char* name;
        std::vector<std::int32_t> keys;
        State state;
        std::int32_t highlighted;
    };
    const KeyCase cases[] = {
        {"down starts at the top", {KeyDown}, State::Open, 0},
        {"down skips the separator", {KeyDown, KeyDown}, State::Open, 2},
        {"up from none starts at the bottom", {KeyUp}, State::Open, 3},
        {"down wraps around", {KeyDown, KeyDown, KeyDown, KeyDown}, State::Open, 0},
        {"up skips the separator", {KeyDown, KeyDown, KeyUp}, State::Open, 0},
        {"return without a highlight", {KeyReturn}, State::Open, -1},
        {"return chooses", {KeyUp, KeyReturn}, State::Chosen, 3},
        {"escape cancels", {KeyDown, KeyEscape}, State::Cancelled, 0},
    };
    for (const KeyCase& c : cases) {
        PopupList list(sampleEntries());
        for (const std::int32_t k : c.keys)
            list.key(k);
        EXPECT_EQ(list.state(), c.state) << c.name;
        EXPECT_EQ(list.highlighted(), c.highlighted) << c.name;
    }
}

using PopupListDrawingTest = RasterFixture;

TEST_F(PopupListDrawingTest, OnlyTheCheckedEntryShowsAMark) {
    PopupList list(sampleEntries());
    makeSurface(list.width(), list.height());
    list.draw(context);
    // The check column: left of where the texts begin.
    const auto marks = [&](std::int32_t index) {
        const platform::IntRect row = list.rowRect(index);
        int dark = 0;
        for (int y = row.top; y < row.bottom; ++y)
            for (int x = row.left; x < row.left + 16; ++x)
                dark += platform::redOf(at(x, y)) < 128;
        return dark;
    };
    EXPECT_EQ(marks(0), 0);
    EXPECT_EQ(marks(2), 0);
    EXPECT_GT(marks(3), 4);
}

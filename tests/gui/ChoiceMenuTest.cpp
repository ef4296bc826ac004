// The choice menu: its list of entries and the current one, and choosing
// in the popup menu by pointer and by keys.

#include "ControlTestSupport.h"

#include "gui/ChoiceMenu.h"
#include "platform/Menus.h"
#include "platform/TextEditing.h"
#include "platform/widgets/PopupList.h"

#include <string>

using platform::headless::MenuStep;
using platform::headless::PointerLeft;

namespace {

constexpr Rect box{100, 50, 200, 70};

class ChoiceMenuTest : public ControlTest {
  protected:
    ChoiceMenu* menu(std::int32_t style = 0) {
        auto* m = attach(new ChoiceMenu(box, &listener, 8, nullptr, nullptr, style));
        for (const char* text : {"a", "-", "b"})
            m->insertItem(text, -1);
        return m;
    }
    static std::string currentText(const ChoiceMenu& m) {
        char out[ChoiceMenu::textCapacity];
        m.currentItem(out);
        return out;
    }
    // Where the menu of "a", "-", "b" opens on the screen, below the box,
    // and a point on entry `index` of it.
    platform::IntPoint menuOrigin() {
        platform::IntRect frameRect;
        platform::windowRect(frame->window(), frameRect);
        return {frameRect.left + box.left, frameRect.top + box.bottom};
    }
    MenuStep clickOn(std::int32_t index) {
        std::vector<platform::widgets::MenuEntry> entries;
        for (const char* text : {"a", "-", "b"})
            entries.push_back(platform::widgets::makeMenuEntry(
                text[0] == '-' ? platform::MenuSeparator : platform::MenuString, 0, text));
        const platform::IntRect row = platform::widgets::PopupList(entries).rowRect(index);
        const platform::IntPoint origin = menuOrigin();
        return {MenuStep::Click, origin.x + (row.left + row.right) / 2,
                origin.y + (row.top + row.bottom) / 2, 0};
    }
    static MenuStep key(std::int32_t k) { return {MenuStep::Key, 0, 0, k}; }
};

} // namespace

TEST_F(ChoiceMenuTest, TheCurrentEntryKeepsItsPlaceAsEntriesComeAndGo) {
    ChoiceMenu m(box, nullptr, 0, nullptr, nullptr, 0);
    EXPECT_EQ(m.currentItem(nullptr), -1);
    for (const char* text : {"a", "-", "c"})
        EXPECT_TRUE(m.insertItem(text, -1));
    EXPECT_EQ(m.currentItem(nullptr), 0); // the first entry became current
    EXPECT_FALSE(m.selectItem(1));        // a separator
    EXPECT_FALSE(m.selectItem(3));
    EXPECT_TRUE(m.selectItem(2));
    EXPECT_TRUE(m.insertItem("first", 0));
    EXPECT_EQ(m.currentItem(nullptr), 3);
    EXPECT_TRUE(m.insertItem(nullptr, 3)); // at the current entry's index
    EXPECT_TRUE(m.insertItem("last", 99)); // past the end: appended
    EXPECT_EQ(currentText(m), "c");
    char text[ChoiceMenu::textCapacity];
    EXPECT_TRUE(m.itemText(5, text) && std::string(text) == "last");
    EXPECT_TRUE(m.itemText(3, text) && std::string(text).empty());

    EXPECT_TRUE(m.deleteItem(m.currentItem(nullptr))); // its own entry: the one before
    EXPECT_EQ(m.currentItem(nullptr), 3);
    EXPECT_FALSE(m.deleteItem(5));
    m.deleteAllItems();
    EXPECT_EQ(m.currentItem(nullptr), -1);
    for (int i = 0; i < ChoiceMenu::maxEntries; ++i)
        ASSERT_TRUE(m.insertItem("x", -1));
    EXPECT_FALSE(m.insertItem("one too many", 0));
    EXPECT_EQ(m.itemCount(), ChoiceMenu::maxEntries);
}

TEST_F(ChoiceMenuTest, ChoosingAnEntryMakesItCurrentAndTellsTheListener) {
    const struct {
        const char* how;
        std::vector<MenuStep> steps;
        std::int32_t current;
    } cases[] = {
        {"pointer on b", {clickOn(2)}, 2},
        {"down, down, return",
         {key(platform::KeyDown), key(platform::KeyDown), key(platform::KeyReturn)},
         2},
        {"pointer on the separator", {clickOn(1)}, 0},
        {"escape", {key(platform::KeyUp), key(platform::KeyEscape)}, 0},
    };
    for (const auto& c : cases) {
        ChoiceMenu* m = menu();
        paint();
        listener.tags.clear();
        platform::headless::scriptMenu(c.steps);
        press(150, 60, PointerLeft);
        EXPECT_EQ(m->currentItem(nullptr), c.current) << c.how;
        EXPECT_EQ(listener.tags,
                  c.current == 2 ? std::vector<std::int32_t>{8} : std::vector<std::int32_t>{})
            << c.how;
        EXPECT_EQ(m->value(), 0.0f) << c.how; // the listener reads the entry
        EXPECT_EQ(m->menu(), nullptr) << c.how;
        EXPECT_EQ(frame->keyboardView(), nullptr) << c.how;
        frame->detachView(m);
        delete m;
    }
}

TEST_F(ChoiceMenuTest, StyleBitsPlaceTheMenuOverTheBoxAndCheckTheCurrentEntry) {
    std::vector<platform::ColorWord> pictures[2];
    const std::int32_t styles[] = {choiceMenuStyle::openOverBox,
                                   choiceMenuStyle::openOverBox | choiceMenuStyle::checkCurrent};
    for (int i = 0; i < 2; ++i) {
        ChoiceMenu* m = menu(styles[i]);
        press(150, 60, PointerLeft); // the empty script cancels
        EXPECT_EQ(platform::headless::lastMenuRect().left, menuOrigin().x);
        EXPECT_EQ(platform::headless::lastMenuRect().top, menuOrigin().y - box.height());
        std::int32_t width = 0, height = 0;
        pictures[i] = platform::headless::lastMenuPixels(width, height);
        frame->detachView(m);
        delete m;
    }
    EXPECT_NE(pictures[0], pictures[1]); // the check mark
}

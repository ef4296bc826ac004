// The text field edited through the window system: a left press opens an
// edit window over the field, typed text goes into it, and return, a press
// elsewhere in the frame or the focus moving away ends the edit.

#include "StripTestSupport.h"

#include "gui/TextField.h"
#include "platform/TextEditing.h"

#include <cstdio>
#include <functional>
#include <string>

using platform::headless::PointerLeft;

namespace {

constexpr Rect box{100, 50, 200, 70};
constexpr Rect elsewhere{100, 150, 200, 170};

class TextFieldTest : public ControlTest {
  protected:
    TextField* field(const char* initial, const Rect& where = box) {
        return attach(new TextField(where, &listener, 12, initial, nullptr, 0));
    }
    static std::string textOf(const TextField* f) {
        char out[TextField::textCapacity];
        f->text(out);
        return out;
    }
    bool looksAlike(const Rect& a, const Rect& b) {
        return regionPixels(frame->window(), a) == regionPixels(frame->window(), b);
    }
};

} // namespace

TEST_F(TextFieldTest, ALeftPressAloneOpensAnEditWindowOverTheFieldWithTheFocus) {
    TextField* f = field("start");
    paint();
    press(150, 60, platform::headless::PointerRight);
    press(150, 60, PointerLeft | platform::headless::PointerShift);
    EXPECT_EQ(f->editWindow(), nullptr);

    press(150, 60, PointerLeft);
    platform::Window* edit = f->editWindow();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(frame->keyboardView(), f);
    EXPECT_EQ(platform::focusWindow(), edit);
    EXPECT_EQ(platform::parentWindow(edit), frame->window());
    platform::IntRect frameRect, editRect;
    platform::windowRect(frame->window(), frameRect);
    platform::windowRect(edit, editRect);
    EXPECT_EQ(editRect.left - frameRect.left, box.left);
    EXPECT_EQ(editRect.top - frameRect.top, box.top);
    EXPECT_EQ(editRect.right - editRect.left, box.width() + 1);
    EXPECT_EQ(editRect.bottom - editRect.top, box.height() + 1);
    char shown[256];
    platform::windowText(edit, shown, 256);
    EXPECT_STREQ(shown, "start");
}

TEST_F(TextFieldTest, EveryWayOfEndingAnEditTakesTheTextBackAndReportsIt) {
    const struct {
        const char* what;
        std::function<void()> end;
    } cases[] = {
        {"return", [] { platform::headless::pressKey(platform::KeyReturn); }},
        {"press outside", [this] { press(400, 250, PointerLeft); }},
        {"focus moves away", [] { platform::setFocus(nullptr); }},
    };
    for (const auto& c : cases) {
        auto* f = field(nullptr);
        auto* twin = field("abc", elsewhere);
        paint();
        listener.tags.clear();
        press(150, 60, PointerLeft);
        ASSERT_TRUE(platform::headless::typeText("abc")) << c.what;
        c.end();
        EXPECT_EQ(f->editWindow(), nullptr) << c.what;
        EXPECT_EQ(frame->keyboardView(), nullptr) << c.what;
        EXPECT_EQ(platform::headless::childWindowCount(frame->window()), 0) << c.what;
        EXPECT_EQ(textOf(f), "abc") << c.what;
        EXPECT_EQ(listener.tags, std::vector<std::int32_t>{12}) << c.what;
        EXPECT_TRUE(looksAlike(box, elsewhere)) << c.what; // drawn with the new text
        frame->detachView(f);
        frame->detachView(twin);
        delete f;
        delete twin;
    }
}

TEST_F(TextFieldTest, AnEditThatLeavesTheTextAsItWasReportsNothing) {
    TextField* f = field("keep");
    paint();
    press(150, 60, PointerLeft);
    platform::headless::typeText("x");
    platform::headless::pressKey(platform::KeyBackspace);
    platform::headless::pressKey(platform::KeyReturn);
    EXPECT_EQ(f->editWindow(), nullptr);
    EXPECT_EQ(textOf(f), "keep");
    EXPECT_TRUE(listener.tags.empty());
}

TEST_F(TextFieldTest, SetTextRedrawsAtTheNextRefreshThroughTheConverter) {
    TextField* f = field("old");
    field("new!", elsewhere);
    paint();
    f->setTextConverter([](const char* text, char* shown) {
        std::snprintf(shown, TextField::textCapacity, "%s!", text);
    });
    f->setText("new");
    frame->pump();
    EXPECT_TRUE(looksAlike(box, elsewhere));
    EXPECT_EQ(textOf(f), "new");
}

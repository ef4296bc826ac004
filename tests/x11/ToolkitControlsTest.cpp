// The toolkit's text field and choice menu in a frame on the X11 backend,
// played with real input: the field edits in an X edit window and the
// menu chooses in an X popup, and both report to their listener.

#include "gui/ChoiceMenu.h"
#include "gui/ControlListener.h"
#include "gui/Frame.h"
#include "gui/FrameEditor.h"
#include "gui/TextField.h"
#include "platform/Menus.h"
#include "platform/TextEditing.h"
#include "platform/widgets/PopupList.h"
#include "tests/support/VirtualDisplay.h"
#include "tests/x11/WidgetPicture.h"
#include "tests/x11/X11Host.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <thread>

namespace {

class NoHost : public FrameEditor {
  public:
    void trackingIdle() override {}
    void* openHostWindow(WindowDescription&) override { return nullptr; }
    void closeHostWindow(WindowDescription&) override {}
};

class ChangeCounter : public ControlListener {
  public:
    void controlChanged(DrawContext&, Control* control) override { ++changes[control->tag()]; }
    std::atomic<int> changes[2] = {};
};

WindowId idOf(platform::Window* window) {
    return reinterpret_cast<std::uintptr_t>(window);
}

TEST(X11ToolkitControls, TextFieldEditsAndChoiceMenuChoosesWithRealInput) {
    VirtualDisplay& server = VirtualDisplay::shared();
    if (!server.available())
        GTEST_SKIP() << server.whyUnavailable();
    Display* display = openConnection(server.displayName());
    ASSERT_NE(display, nullptr);
    if (!pointerInjectionAvailable(display))
        GTEST_SKIP() << "the X server has no XTest extension";
    HostErrorHandler errors; // the hand looks at windows that may go meanwhile
    const WindowId focusBefore = inputFocus(display);
    {
        HostWindow host(display, 40, 30, 300, 200);
        NoHost editor;
        ChangeCounter listener;
        auto* frame = new Frame({0, 0, 300, 200}, reinterpret_cast<void*>(host.id()), &editor);
        ASSERT_NE(frame->window(), nullptr);
        auto* field = new TextField({20, 20, 140, 40}, &listener, 0, "12", nullptr, 0);
        auto* menu = new ChoiceMenu({20, 60, 140, 80}, &listener, 1, nullptr, nullptr,
                                    choiceMenuStyle::checkCurrent);
        for (const char* entry : {"a", "-", "b"})
            menu->insertItem(entry);
        frame->attachView(field);
        frame->attachView(menu);

        int frameX = 0;
        int frameY = 0;
        screenOrigin(display, idOf(frame->window()), frameX, frameY);
        const int menuX = frameX + 20;
        const int menuY = frameY + 80;
        const platform::widgets::PopupList list(
            {platform::widgets::makeMenuEntry(platform::MenuChecked, 0, "a"),
             platform::widgets::makeMenuEntry(platform::MenuSeparator, 1, nullptr),
             platform::widgets::makeMenuEntry(platform::MenuString, 2, "b")});
        const Picture opened = widgetPicture(list, list.width(), list.height());
        const platform::IntRect b = list.rowRect(2);

        std::atomic<WindowId> focused{0};
        std::atomic<bool> finished{false};
        std::atomic<bool> played{false};
        std::thread player([&] {
            Hand hand(server.displayName());
            Display* look = openConnection(server.displayName());
            bool ok = true;
            hand.clickAt(frameX + 80, frameY + 30);
            ok = ok && waitFor([&] { return focused && inputFocus(look) == focused; });
            for (const char* key : {"3", "BackSpace", "4", "Return"})
                hand.tapKey(key);
            ok = ok && waitFor([&] { return listener.changes[0] > 0; });
            hand.clickAt(frameX + 80, frameY + 70);
            ok = ok && waitFor([&] {
                     const WindowId popup = popupAt(look, menuX, menuY);
                     return popup && grabWindow(look, popup) == opened;
                 });
            hand.clickAt(menuX + (b.left + b.right) / 2, menuY + (b.top + b.bottom) / 2);
            // Whatever went wrong, the menu's modal loop ends.
            if (!waitFor([&] { return !popupAt(look, menuX, menuY); }))
                hand.tapKey("Escape");
            closeConnection(look);
            played = ok;
            finished = true;
        });
        EXPECT_TRUE(waitFor(
            [&] {
                platform::dispatchWindowEvents(frame->window());
                focused = idOf(platform::focusWindow());
                return finished && listener.changes[1] > 0;
            },
            10s));
        player.join();
        EXPECT_TRUE(played);

        char text[TextField::textCapacity];
        field->text(text);
        EXPECT_STREQ(text, "124");
        EXPECT_EQ(listener.changes[0], 1);
        EXPECT_EQ(inputFocus(display), focusBefore) << "the keyboard went back where it was";
        EXPECT_EQ(menu->currentItem(text), 2);
        EXPECT_STREQ(text, "b");
        EXPECT_EQ(listener.changes[1], 1);
        delete frame;
    }
    errors.restore();
    closeConnection(display);
}

} // namespace

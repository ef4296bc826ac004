// The X11 backend's edit window, keyboard focus and popup menu in-process,
// played with real input through XTest from a second thread while the
// test's thread drains the windows or waits in the menu's modal loop.

#include "platform/Menus.h"
#include "platform/TextEditing.h"
#include "platform/Windowing.h"
#include "platform/widgets/LineEditor.h"
#include "platform/widgets/PopupList.h"
#include "tests/support/VirtualDisplay.h"
#include "tests/x11/WidgetPicture.h"
#include "tests/x11/X11Host.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

namespace {

using namespace platform;

struct Heard {
    Window* window;
    std::uint32_t message;
    WordParam wParam;
};
std::vector<Heard> heard;
WindowProcedure editProcedureBefore = nullptr;

MessageResult frameProcedure(Window* window, std::uint32_t message, WordParam wParam,
                             LongParam lParam) {
    heard.push_back({window, message, wParam});
    return defaultWindowProcedure(window, message, wParam, lParam);
}

// Stands in front of the edit window's own procedure, as the toolkit's
// text field does.
MessageResult editReplacement(Window* window, std::uint32_t message, WordParam wParam,
                              LongParam lParam) {
    heard.push_back({window, message, wParam});
    return callWindowProcedure(editProcedureBefore, window, message, wParam, lParam);
}

bool wasHeard(Window* window, std::uint32_t message, WordParam wParam) {
    for (const Heard& h : heard)
        if (h.window == window && h.message == message && h.wParam == wParam)
            return true;
    return false;
}

WindowId idOf(Window* window) {
    return reinterpret_cast<std::uintptr_t>(window);
}
Window* handleOf(WindowId id) {
    return reinterpret_cast<Window*>(static_cast<std::uintptr_t>(id));
}

class KeyboardAndMenu : public ::testing::Test {
  protected:
    static constexpr int HostX = 40;
    static constexpr int HostY = 30;

    void SetUp() override {
        VirtualDisplay& server = VirtualDisplay::shared();
        if (!server.available())
            GTEST_SKIP() << server.whyUnavailable();
        displayName = server.displayName();
        display = openConnection(displayName);
        ASSERT_NE(display, nullptr);
        if (!pointerInjectionAvailable(display))
            GTEST_SKIP() << "the X server has no XTest extension";
        // The hand looks at windows that may go while it looks.
        errors.emplace();
        host = std::make_unique<HostWindow>(display, HostX, HostY, 300, 200);
        ASSERT_TRUE(registerWindowClass("X11KeyboardTest", &frameProcedure, nullptr));
        frame = createWindow("X11KeyboardTest", "Frame", StyleChild | StyleVisible, 0, 0, 300, 200,
                             handleOf(host->id()), nullptr);
        ASSERT_NE(frame, nullptr);
        heard.clear();
    }
    void TearDown() override {
        if (frame)
            destroyWindow(frame);
        unregisterWindowClass("X11KeyboardTest", nullptr);
        host.reset();
        if (display)
            closeConnection(display);
        if (errors)
            errors->restore();
    }

    // Plays `gesture` with a hand on a thread of its own while `meanwhile`
    // runs on the test's thread; true when the gesture saw every step it
    // waited for.
    bool withHand(const std::function<bool(Hand&)>& gesture,
                  const std::function<void()>& meanwhile) {
        std::atomic<bool> succeeded{false};
        std::thread player([&] {
            Hand hand(displayName);
            succeeded = gesture(hand);
        });
        meanwhile();
        player.join();
        return succeeded;
    }
    // Drains the windows (and the test's own connection) until `done`.
    bool drainUntil(const std::function<bool()>& done) {
        return waitFor([&] {
            takeFocusOnPresses(display);
            dispatchWindowEvents(frame);
            return done();
        });
    }

    std::string displayName;
    Display* display = nullptr;
    std::optional<HostErrorHandler> errors;
    std::unique_ptr<HostWindow> host;
    Window* frame = nullptr;
};

TEST_F(KeyboardAndMenu, EditWindowTakesTypingAndLosesTheFocusToAClickElsewhere) {
    Window* edit =
        createWindow(EditClassName, "12", StyleChild | StyleVisible | EditStyleAutoScroll, 20, 20,
                     120, 24, frame, nullptr);
    ASSERT_NE(edit, nullptr);
    editProcedureBefore = setWindowProcedure(edit, &editReplacement);
    ASSERT_NE(editProcedureBefore, nullptr);
    EXPECT_EQ(setFocus(edit), nullptr);
    EXPECT_EQ(focusWindow(), edit);
    EXPECT_EQ(inputFocus(display), idOf(edit));

    const bool typed = withHand(
        [](Hand& hand) {
            for (const char* key :
                 {"End", "a", "b", "c", "BackSpace", "Left", "x", "Home", "y", "Return"})
                hand.tapKey(key);
            return true;
        },
        [&] { drainUntil([&] { return wasHeard(edit, MessageKeyDown, KeyReturn); }); });
    EXPECT_TRUE(typed);
    ASSERT_TRUE(wasHeard(edit, MessageKeyDown, KeyReturn));
    EXPECT_TRUE(wasHeard(edit, MessageChar, 'x'));
    char text[32];
    EXPECT_EQ(windowText(edit, text, sizeof text), 6);
    EXPECT_STREQ(text, "y12axb");
    // The window shows the editor with the caret behind the "y".
    widgets::LineEditor expected("y12axb", EditStyleAutoScroll, 120, 24);
    expected.keyDown(KeyHome);
    expected.keyDown(KeyRight);
    expected.setFocused(true);
    const Picture shown = widgetPicture(expected, 120, 24);
    EXPECT_TRUE(drainUntil([&] { return grabWindow(display, idOf(edit)) == shown; }))
        << describeDifference(shown, grabWindow(display, idOf(edit)));

    // Another window takes the keyboard when clicked, as under a window
    // manager: the edit window hears that it lost it.
    HostWindow other(display, 400, 30, 100, 100);
    other.takeFocusOnPress();
    heard.clear();
    withHand(
        [](Hand& hand) {
            hand.clickAt(450, 80);
            return true;
        },
        [&] { drainUntil([&] { return wasHeard(edit, MessageKillFocus, 0); }); });
    EXPECT_TRUE(wasHeard(edit, MessageKillFocus, 0));
    EXPECT_EQ(focusWindow(), nullptr);
    EXPECT_TRUE(destroyWindow(edit));
}

TEST_F(KeyboardAndMenu, PopupMenuChoosesWithPointerOrKeysAndCancels) {
    constexpr int MenuX = 100;
    constexpr int MenuY = 100;
    std::vector<widgets::MenuEntry> entries = {
        widgets::makeMenuEntry(MenuString, 0, "a"), widgets::makeMenuEntry(MenuSeparator, 1, ""),
        widgets::makeMenuEntry(MenuString | MenuChecked, 2, "b")};
    const widgets::PopupList layout(entries);
    const Picture opened = widgetPicture(layout, layout.width(), layout.height());
    const auto centre = [&](int index, int& x, int& y) {
        const IntRect row = layout.rowRect(index);
        x = MenuX + (row.left + row.right) / 2;
        y = MenuY + (row.top + row.bottom) / 2;
    };
    struct Case {
        const char* name;
        std::function<void(Hand&)> act;
        std::optional<WordParam> chosen;
    };
    const Case cases[] = {
        {"a click on b",
         [&](Hand& hand) {
             int x, y;
             centre(2, x, y);
             hand.clickAt(x, y);
         },
         2},
        {"down, down, return",
         [](Hand& hand) {
             for (const char* key : {"Down", "Down", "Return"})
                 hand.tapKey(key);
         },
         2},
        // The menu stays open after the click on the separator: the keys
        // after it still choose.
        {"a click on the separator, down, return",
         [&](Hand& hand) {
             int x, y;
             centre(1, x, y);
             hand.clickAt(x, y);
             hand.tapKey("Down");
             hand.tapKey("Return");
         },
         0},
        {"escape", [](Hand& hand) { hand.tapKey("Escape"); }, std::nullopt},
        {"a click outside", [](Hand& hand) { hand.clickAt(MenuX - 20, MenuY - 20); }, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Menu* menu = createPopupMenu();
        ASSERT_NE(menu, nullptr);
        for (const widgets::MenuEntry& entry : entries)
            appendMenu(menu,
                       entry.separator ? MenuSeparator : (entry.checked ? MenuChecked : MenuString),
                       entry.identifier, entry.text.c_str());
        bool tracked = false;
        const bool played = withHand(
            [&](Hand& hand) {
                // The list is drawn once the pointer and keyboard are held.
                Display* look = openConnection(displayName);
                const bool shown = waitFor([&] {
                    const WindowId popup = popupAt(look, MenuX, MenuY);
                    return popup && grabWindow(look, popup) == opened;
                });
                if (shown)
                    c.act(hand);
                // Whatever went wrong, the test's thread goes on.
                const bool closed = shown && waitFor([&] { return !popupAt(look, MenuX, MenuY); });
                if (!closed)
                    hand.tapKey("Escape");
                closeConnection(look);
                return closed;
            },
            [&] { tracked = trackPopupMenu(menu, MenuX, MenuY, frame); });
        EXPECT_TRUE(played);
        EXPECT_TRUE(tracked);
        PostedMessage message;
        const bool posted = takeMessage(message, frame, MessageCommand, MessageCommand);
        EXPECT_EQ(posted, c.chosen.has_value());
        if (posted && c.chosen) {
            EXPECT_EQ(message.window, frame);
            EXPECT_EQ(message.wParam, *c.chosen);
            EXPECT_FALSE(takeMessage(message, frame, MessageCommand, MessageCommand));
        }
        EXPECT_TRUE(destroyMenu(menu));
    }
}

// The toolkit drops the click that closed a menu: taking the button
// messages takes the presses still waiting on the window's connection.
TEST_F(KeyboardAndMenu, TakingButtonMessagesRemovesWaitingPresses) {
    int x = 0;
    int y = 0;
    screenOrigin(display, idOf(frame), x, y);
    withHand(
        [&](Hand& hand) {
            hand.clickAt(x + 50, y + 60);
            return true;
        },
        [] {});
    waitUntilSent(display);
    PostedMessage message;
    ASSERT_TRUE(takeMessage(message, frame, MessageLeftButtonDown, 0x0208));
    EXPECT_EQ(message.message, MessageLeftButtonDown);
    EXPECT_EQ(positionX(message.lParam), 50);
    EXPECT_EQ(positionY(message.lParam), 60);
    heard.clear();
    dispatchWindowEvents(frame);
    EXPECT_FALSE(wasHeard(frame, MessageLeftButtonDown, 0));
}

} // namespace

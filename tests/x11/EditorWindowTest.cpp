// The built plug-in's editor in a real X window: what it shows, what the
// mouse does to it, and how it lives with the host's windows.

#include "editor/ShaperLayout.h"
#include "tests/support/VirtualDisplay.h"
#include "tests/x11/X11Host.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

constexpr int EditorWidth = 568;
constexpr int EditorHeight = 290;
constexpr int HostX = 40;
constexpr int HostY = 30;

class EditorWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        VirtualDisplay& server = VirtualDisplay::shared();
        if (!server.available())
            GTEST_SKIP() << server.whyUnavailable();
        std::string why;
        expected = &snapshotPicture(why);
        if (expected->width == 0)
            GTEST_SKIP() << why;
        display = openConnection(server.displayName());
        ASSERT_NE(display, nullptr);
        if (!pointerInjectionAvailable(display))
            GTEST_SKIP() << "the X server has no XTest extension";
    }
    void TearDown() override {
        if (display)
            closeConnection(display);
    }

    // The editor's own window inside `host`, once there is exactly one.
    WindowId editorIn(const HostWindow& host) {
        const std::vector<WindowId> children = host.children();
        return children.size() == 1 ? children[0] : 0;
    }
    bool showsSnapshot(PluginInstance& plugin, WindowId editor) {
        return idleUntil(display, {&plugin},
                         [&] { return grabWindow(display, editor) == *expected; });
    }
    // Screen position of a point of the editor.
    void screenPoint(WindowId editor, Point at, int& x, int& y) {
        screenOrigin(display, editor, x, y);
        x += at.h;
        y += at.v;
    }

    Display* display = nullptr;
    const Picture* expected = nullptr;
};

// The pixels are those of the in-memory rendering, whether they travel
// through shared memory or over the connection.
TEST_F(EditorWindow, ShowsTheInMemoryRenderingExactly) {
    VirtualDisplay plainServer({"-extension", "MIT-SHM"});
    ASSERT_TRUE(plainServer.available()) << plainServer.whyUnavailable();
    const std::string sharedName = VirtualDisplay::shared().displayName();
    // The plug-in connects to DISPLAY; it points at the shared server again
    // however this test ends.
    struct DisplayBack {
        std::string name;
        ~DisplayBack() { setenv("DISPLAY", name.c_str(), 1); }
    } displayBack{sharedName};
    struct Case {
        std::string server;
        bool sharedMemory;
    };
    for (const Case& c : {Case{sharedName, true}, Case{plainServer.displayName(), false}}) {
        SCOPED_TRACE(c.sharedMemory ? "MIT-SHM" : "no MIT-SHM");
        setenv("DISPLAY", c.server.c_str(), 1); // where the plug-in connects
        Display* connection = openConnection(c.server);
        ASSERT_NE(connection, nullptr);
        EXPECT_EQ(serverHasExtension(connection, "MIT-SHM"), c.sharedMemory);
        {
            HostWindow host(connection, HostX, HostY, EditorWidth, EditorHeight);
            PluginInstance plugin;
            plugin.openEditor(host.id());
            const std::vector<WindowId> children = host.children();
            ASSERT_EQ(children.size(), 1u);
            EXPECT_EQ(windowTitle(connection, children[0]), "Window");
            const bool same = idleUntil(connection, {&plugin}, [&] {
                return grabWindow(connection, children[0]) == *expected;
            });
            EXPECT_TRUE(same) << describeDifference(*expected, grabWindow(connection, children[0]));
            plugin.closeEditor();
            EXPECT_TRUE(host.children().empty());
        }
        closeConnection(connection);
    }
}

TEST_F(EditorWindow, KnobDragReachesParameterHostAndScreen) {
    HostWindow host(display, HostX, HostY, EditorWidth, EditorHeight);
    PluginInstance plugin;
    plugin.openEditor(host.id());
    const WindowId editor = editorIn(host);
    ASSERT_TRUE(showsSnapshot(plugin, editor));

    constexpr int PreGain = 1;
    constexpr int KnobSize = 43;
    const Point knob = shaperLayout::KnobAnchors[0];
    const Picture knobBefore = expected->crop(knob.h, knob.v, knob.h + KnobSize, knob.v + KnobSize);
    const float before = plugin.parameter(PreGain);
    // Towards the far end of the knob's sweep from where it stands: lower
    // right (near the maximum) or lower left (near the minimum).
    const bool raise = before < 0.5f;
    const Point centre{knob.h + KnobSize / 2, knob.v + KnobSize / 2};
    const Point target{centre.h + (raise ? 15 : -15), centre.v + 10};
    const auto reachedTarget = [&] {
        const float v = plugin.lastAutomatedValue(PreGain);
        return plugin.automations(PreGain) > 0 && (raise ? v > 0.9f : v < 0.1f);
    };
    int x = 0;
    int y = 0;
    int tx = 0;
    int ty = 0;
    screenPoint(editor, centre, x, y);
    screenPoint(editor, target, tx, ty);
    const int idlesBefore = plugin.idleRequests();
    const bool done = performGesture(display, {&plugin}, [&](Hand& hand) {
        hand.moveTo(x, y);
        hand.press(LeftButton);
        // The knob tracks the mouse and drives the host's idle meanwhile.
        if (!waitFor([&] { return plugin.idleRequests() > idlesBefore; }))
            return false;
        hand.moveTo(tx, ty);
        const bool reached = waitFor(reachedTarget);
        hand.release(LeftButton);
        return reached;
    });
    ASSERT_TRUE(done) << "last automated value " << plugin.lastAutomatedValue(PreGain);
    EXPECT_EQ(plugin.parameter(PreGain), plugin.lastAutomatedValue(PreGain));
    EXPECT_TRUE(idleUntil(display, {&plugin}, [&] {
        return grabWindow(display, editor)
                   .crop(knob.h, knob.v, knob.h + KnobSize, knob.v + KnobSize) != knobBefore;
    })) << "the knob was not drawn anew";
}

TEST_F(EditorWindow, CurvePointAddedDraggedAndDeletedShapesTheSound) {
    HostWindow host(display, HostX, HostY, EditorWidth, EditorHeight);
    PluginInstance plugin;
    plugin.openEditor(host.id());
    const WindowId editor = editorIn(host);
    ASSERT_TRUE(showsSnapshot(plugin, editor));

    const Point curve = shaperLayout::CurveAnchor;
    const Point added{curve.h + 190, curve.v + 200}; // free space below the straight line
    const Point dragged{curve.h + 150, curve.v + 220};
    int ax = 0;
    int ay = 0;
    int dx = 0;
    int dy = 0;
    screenPoint(editor, added, ax, ay);
    screenPoint(editor, dragged, dx, dy);
    constexpr int Shaper = 0; // a curve gesture ends by setting parameter 0
    // A right click deletes the point under it, or none, and ends a gesture.
    // It is over before the editor looks at the buttons: the editor must
    // still see the press.
    const auto rightClick = [&](int x, int y) {
        const int gestures = plugin.automations(Shaper);
        return performGesture(display, {&plugin}, [&](Hand& hand) {
            hand.moveTo(x, y);
            hand.press(RightButton);
            hand.release(RightButton);
            return waitFor([&] { return plugin.automations(Shaper) > gestures; });
        });
    };

    // Cutoff glides started by the program come to rest first.
    plugin.process(std::vector<float>(1 << 16, 0.0f));
    std::vector<float> ramp(512);
    for (std::size_t i = 0; i < ramp.size(); ++i)
        ramp[i] = -1.2f + 2.4f * static_cast<float>(i) / static_cast<float>(ramp.size() - 1);
    // The table sampled from the editor's straight curve, which a gesture
    // that deletes nothing makes.
    ASSERT_TRUE(rightClick(ax, ay));
    const std::vector<float> straight = plugin.process(ramp);

    const int gesturesBefore = plugin.automations(Shaper);
    const int idlesBefore = plugin.idleRequests();
    ASSERT_TRUE(performGesture(display, {&plugin}, [&](Hand& hand) {
        hand.moveTo(ax, ay);
        hand.press(LeftButton);
        if (!waitFor([&] { return plugin.idleRequests() > idlesBefore; }))
            return false;
        hand.moveTo(dx, dy);
        // Two paced idles later the loop has polled the new position.
        const int idlesAfterMove = plugin.idleRequests();
        const bool moved = waitFor([&] { return plugin.idleRequests() >= idlesAfterMove + 2; });
        hand.release(LeftButton);
        return moved && waitFor([&] { return plugin.automations(Shaper) > gesturesBefore; });
    }));
    EXPECT_NE(plugin.process(ramp), straight);
    EXPECT_TRUE(
        idleUntil(display, {&plugin}, [&] { return grabWindow(display, editor) != *expected; }));

    // Deleting the point where it was dragged to gives the straight curve back.
    ASSERT_TRUE(rightClick(dx, dy));
    EXPECT_EQ(plugin.process(ramp), straight);
    EXPECT_TRUE(showsSnapshot(plugin, editor))
        << describeDifference(*expected, grabWindow(display, editor));
}

TEST_F(EditorWindow, HelpPopupOpensAndCloses) {
    HostWindow host(display, HostX, HostY, EditorWidth, EditorHeight);
    PluginInstance plugin;
    plugin.openEditor(host.id());
    const WindowId editor = editorIn(host);
    ASSERT_TRUE(showsSnapshot(plugin, editor));

    const Rect spot = shaperLayout::PopupHotSpot;
    const Point anchor = shaperLayout::PopupAnchor;
    constexpr int PopupSize = 268;
    const auto popupArea = [&](const Picture& p) {
        return p.crop(anchor.h, anchor.v, anchor.h + PopupSize, anchor.v + PopupSize);
    };
    const auto click = [&](Point at) {
        int x = 0;
        int y = 0;
        screenPoint(editor, at, x, y);
        return performGesture(display, {&plugin}, [&](Hand& hand) {
            hand.moveTo(x, y);
            hand.press(LeftButton);
            hand.release(LeftButton);
            return true;
        });
    };
    ASSERT_TRUE(click({(spot.left + spot.right) / 2, (spot.top + spot.bottom) / 2}));
    EXPECT_TRUE(idleUntil(display, {&plugin}, [&] {
        return popupArea(grabWindow(display, editor)) != popupArea(*expected);
    })) << "the popup did not open";
    ASSERT_TRUE(click({anchor.h + PopupSize / 2, anchor.v + PopupSize / 2}));
    EXPECT_TRUE(showsSnapshot(plugin, editor))
        << "the popup did not close: "
        << describeDifference(*expected, grabWindow(display, editor));
}

TEST_F(EditorWindow, TwoEditorsAtOnceBothPaint) {
    HostWindow firstHost(display, HostX, HostY, EditorWidth, EditorHeight);
    HostWindow secondHost(display, HostX, HostY + EditorHeight + 40, EditorWidth, EditorHeight);
    PluginInstance first;
    PluginInstance second;
    first.openEditor(firstHost.id());
    second.openEditor(secondHost.id());
    const WindowId firstEditor = editorIn(firstHost);
    const WindowId secondEditor = editorIn(secondHost);
    ASSERT_NE(firstEditor, 0u);
    ASSERT_NE(secondEditor, 0u);
    EXPECT_TRUE(idleUntil(display, {&first, &second},
                          [&] {
                              return grabWindow(display, firstEditor) == *expected &&
                                     grabWindow(display, secondEditor) == *expected;
                          }))
        << describeDifference(*expected, grabWindow(display, firstEditor)) << "; "
        << describeDifference(*expected, grabWindow(display, secondEditor));
}

// The host destroys its window, and the editor's with it, before it closes
// the editor: with idle time in between (the editor hears of it) or none.
// The plug-in's X errors stay its own, the host's error handler is back in
// place, and the instance opens again in a new window.
TEST_F(EditorWindow, HostDestroyingItsWindowFirstIsHarmless) {
    for (const bool idleBetween : {true, false}) {
        SCOPED_TRACE(idleBetween ? "idle before closing" : "closing at once");
        HostErrorHandler hostHandler;
        PluginInstance plugin;
        {
            HostWindow host(display, HostX, HostY, EditorWidth, EditorHeight);
            plugin.openEditor(host.id());
            ASSERT_TRUE(showsSnapshot(plugin, editorIn(host)));
            host.destroy();
            if (idleBetween)
                for (int i = 0; i < 3; ++i)
                    plugin.idle();
            plugin.closeEditor();
            plugin.idle();
        }
        EXPECT_EQ(HostErrorHandler::errors(), 0);
        EXPECT_TRUE(hostHandler.restore()) << "the plug-in left another error handler in place";

        HostWindow again(display, HostX, HostY, EditorWidth, EditorHeight);
        plugin.openEditor(again.id());
        EXPECT_TRUE(showsSnapshot(plugin, editorIn(again)));
    }
}

} // namespace

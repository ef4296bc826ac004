// The X11 backend in-process, with windows of a host it did not create:
// geometry across the two connections, and the host destroying its window.

#include "platform/Drawing.h"
#include "platform/Windowing.h"
#include "tests/support/VirtualDisplay.h"
#include "tests/x11/X11Host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

std::vector<std::uint32_t> messages;

platform::MessageResult recordingProcedure(platform::Window* window, std::uint32_t message,
                                           platform::WordParam wParam, platform::LongParam lParam) {
    messages.push_back(message);
    return platform::defaultWindowProcedure(window, message, wParam, lParam);
}

platform::Window* handleOf(WindowId id) {
    return reinterpret_cast<platform::Window*>(static_cast<std::uintptr_t>(id));
}

TEST(X11Backend, HostWindowGeometryAndTheHostDestroyingIt) {
    VirtualDisplay& server = VirtualDisplay::shared();
    if (!server.available())
        GTEST_SKIP() << server.whyUnavailable();
    Display* display = openConnection(server.displayName());
    ASSERT_NE(display, nullptr);
    {
        HostWindow host(display, 40, 30, 300, 200);
        platform::Window* hostHandle = handleOf(host.id());
        ASSERT_TRUE(platform::registerWindowClass("X11BackendTest", &recordingProcedure, nullptr));
        platform::Window* child = platform::createWindow(
            "X11BackendTest", "Window", platform::StyleChild | platform::StyleVisible, 10, 20, 100,
            50, hostHandle, nullptr);
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(windowTitle(display, reinterpret_cast<std::uintptr_t>(child)), "Window");

        EXPECT_EQ(platform::parentWindow(child), hostHandle);
        EXPECT_EQ(platform::parentWindow(hostHandle), nullptr) << "a top-level has no parent";
        struct Box {
            platform::Window* window;
            platform::IntRect expected;
        };
        for (const Box& box :
             {Box{child, {50, 50, 150, 100}}, Box{hostHandle, {40, 30, 340, 230}}}) {
            platform::IntRect rect;
            ASSERT_TRUE(platform::windowRect(box.window, rect));
            EXPECT_EQ(rect.left, box.expected.left);
            EXPECT_EQ(rect.top, box.expected.top);
            EXPECT_EQ(rect.right, box.expected.right);
            EXPECT_EQ(rect.bottom, box.expected.bottom);
        }
        struct Mapping {
            platform::Window* from;
            platform::Window* to;
            platform::IntPoint expected; // of the point (5, 5)
        };
        for (const Mapping& m :
             {Mapping{child, nullptr, {55, 55}}, Mapping{nullptr, child, {-45, -45}},
              Mapping{child, hostHandle, {15, 25}}}) {
            platform::IntPoint point{5, 5};
            ASSERT_TRUE(platform::mapWindowPoints(m.from, m.to, &point, 1));
            EXPECT_EQ(point.x, m.expected.x);
            EXPECT_EQ(point.y, m.expected.y);
        }
        ASSERT_TRUE(platform::resizeWindow(hostHandle, 320, 210));
        platform::IntRect resized;
        ASSERT_TRUE(platform::windowRect(hostHandle, resized));
        EXPECT_EQ(resized.right - resized.left, 320);
        EXPECT_EQ(resized.bottom - resized.top, 210);

        // The host destroys its window, and the child with it: the child's
        // procedure hears of it at the next drain, once, and the handle is
        // dead from then on.
        EXPECT_TRUE(platform::isWindow(hostHandle));
        host.destroy();
        EXPECT_FALSE(platform::isWindow(hostHandle));
        messages.clear();
        EXPECT_TRUE(waitFor([&] {
            platform::dispatchWindowEvents(child);
            return !platform::isWindow(child);
        }));
        EXPECT_EQ(std::count(messages.begin(), messages.end(), platform::MessageDestroy), 1);
        EXPECT_FALSE(platform::destroyWindow(child));
        EXPECT_EQ(platform::windowUserData(child), 0);
        EXPECT_TRUE(platform::unregisterWindowClass("X11BackendTest", nullptr));
    }
    closeConnection(display);
}

// Events that the window's connection has already taken from its socket,
// with a reply, with one another or while sending a drawing, are
// delivered at the next drain all the same. On a server without shared
// memory, where showing a drawing only sends it.
TEST(X11Backend, EventsAlreadyReadAreDeliveredAtTheNextDrain) {
    VirtualDisplay server({"-extension", "MIT-SHM"});
    if (!server.available())
        GTEST_SKIP() << server.whyUnavailable();
    // The backend's windows connect to DISPLAY.
    const char* shared = std::getenv("DISPLAY");
    const std::string previous = shared ? shared : "";
    setenv("DISPLAY", server.displayName().c_str(), 1);
    Display* display = openConnection(server.displayName());
    ASSERT_NE(display, nullptr);
    struct Case {
        const char* name;
        void (*act)(Display* display, HostWindow& host, platform::Window* child);
        std::uint32_t expected;
    };
    const Case cases[] = {
        {"an exposure read with a reply",
         [](Display* display, HostWindow&, platform::Window* child) {
             exposeWindow(display, reinterpret_cast<std::uintptr_t>(child));
             // The exposure comes before the reply, so it is read with it.
             platform::IntRect rect;
             EXPECT_TRUE(platform::windowRect(child, rect));
         },
         platform::MessagePaint},
        {"an exposure read while a drawing was sent",
         [](Display* display, HostWindow&, platform::Window* child) {
             exposeWindow(display, reinterpret_cast<std::uintptr_t>(child));
             platform::DeviceContext* context = platform::windowContext(child);
             platform::setPixel(context, 1, 1, 0x0000FF);
             EXPECT_TRUE(platform::releaseWindowContext(child, context));
         },
         platform::MessagePaint},
        {"an exposure read with the host's destruction",
         [](Display* display, HostWindow& host, platform::Window* child) {
             exposeWindow(display, reinterpret_cast<std::uintptr_t>(child));
             host.destroy();
             waitUntilSent(display);
         },
         platform::MessageDestroy},
    };
    ASSERT_TRUE(platform::registerWindowClass("X11BackendTest", &recordingProcedure, nullptr));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HostWindow host(display, 40, 30, 300, 200);
        platform::Window* child = platform::createWindow(
            "X11BackendTest", "Window", platform::StyleChild | platform::StyleVisible, 10, 20, 100,
            50, handleOf(host.id()), nullptr);
        ASSERT_NE(child, nullptr);
        messages.clear();
        ASSERT_TRUE(waitFor([&] {
            platform::dispatchWindowEvents(child);
            return std::count(messages.begin(), messages.end(), platform::MessagePaint) > 0;
        }));
        platform::dispatchWindowEvents(child); // finds the connection quiet

        messages.clear();
        c.act(display, host, child);
        platform::dispatchWindowEvents(child);
        EXPECT_EQ(std::count(messages.begin(), messages.end(), c.expected), 1);
        platform::destroyWindow(child);
    }
    EXPECT_TRUE(platform::unregisterWindowClass("X11BackendTest", nullptr));
    closeConnection(display);
    if (shared)
        setenv("DISPLAY", previous.c_str(), 1);
    else
        unsetenv("DISPLAY");
}

} // namespace

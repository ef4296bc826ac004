#include "TestSupport.h"

#include "platform/Diagnostics.h"


void HostWindowTest::SetUp() {
    objectsBefore = platform::liveDrawingObjects();
    contextsBefore = platform::liveDeviceContexts();
    host = platform::headless::createHostWindow(200, 100, 600, 320);
}

void HostWindowTest::TearDown() {
    platform::destroyWindow(host);
    platform::headless::setPointer({});
    EXPECT_EQ(platform::liveDrawingObjects(), objectsBefore);
    EXPECT_EQ(platform::liveDeviceContexts(), contextsBefore);
}

Frame* HostWindowTest::makeFrame(const Rect& size) {
    return new Frame(size, host, nullptr);
}

platform::ColorWord HostWindowTest::windowPixel(platform::Window* window, int x, int y) {
    int width = 0, height = 0;
    const auto pixels = platform::headless::windowPixels(window, width, height);
    if (x < 0 || y < 0 || x >= width || y >= height)
        return 0xFFFFFFFF;
    return pixels[static_cast<std::size_t>(y * width + x)];
}

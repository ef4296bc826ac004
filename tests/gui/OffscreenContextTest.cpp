#include "TestSupport.h"

#include "gui/Bitmap.h"
#include "gui/OffscreenContext.h"
#include "platform/Diagnostics.h"

using OffscreenContextTest = HostWindowTest;

TEST_F(OffscreenContextTest, WithoutAPictureItIsTwentyByTwentyAndBlack) {
    platform::DeviceContext* deviceContext = platform::windowContext(host);
    {
        DrawContext screen(nullptr, deviceContext, host);
        OffscreenContext offscreen(screen, nullptr);
        EXPECT_EQ(offscreen.width(), 20);
        EXPECT_EQ(offscreen.height(), 20);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x)
                ASSERT_EQ(platform::pixel(offscreen.platformContext(), x, y), 0u) << x << "," << y;
        EXPECT_EQ(platform::pixel(offscreen.platformContext(), 20, 0), 0xFFFFFFFFu);
    }
    platform::releaseWindowContext(host, deviceContext);
}

TEST_F(OffscreenContextTest, WithAPictureItHoldsACopyOfIt) {
    Bitmap* knob = new Bitmap(109);
    platform::DeviceContext* deviceContext = platform::windowContext(host);
    {
        DrawContext screen(nullptr, deviceContext, host);
        OffscreenContext offscreen(screen, knob);
        EXPECT_EQ(offscreen.width(), 43);
        EXPECT_EQ(offscreen.height(), 43);
        // Compare with the picture drawn straight onto the window.
        knob->blit(screen, {0, 0, 43, 43}, {0, 0});
        for (int y = 0; y < 43; y += 6)
            for (int x = 0; x < 43; x += 6)
                EXPECT_EQ(platform::pixel(offscreen.platformContext(), x, y),
                          platform::pixel(deviceContext, x, y));
    }
    platform::releaseWindowContext(host, deviceContext);
    knob->release();
}

TEST_F(OffscreenContextTest, ABackgroundColourCoversEveryPixel) {
    Frame* frame = makeFrame();
    {
        OffscreenContext offscreen(frame, 7, 5, colors::magenta);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x)
                ASSERT_EQ(platform::pixel(offscreen.platformContext(), x, y),
                          colors::magenta.platformColor());
        EXPECT_EQ(offscreen.background(), colors::magenta);
    }
    delete frame;
}

TEST_F(OffscreenContextTest, BlitToCopiesTheDestinationSizeFromTheOffset) {
    Frame* frame = makeFrame({0, 0, 100, 100});
    platform::DeviceContext* deviceContext = platform::windowContext(frame->window());
    {
        DrawContext screen(frame, deviceContext, frame->window());
        OffscreenContext offscreen(frame, 10, 10, colors::green);
        offscreen.setPixelColor({3, 4}, colors::red);
        offscreen.blitTo(screen, {50, 60, 53, 62}, {2, 3});
        EXPECT_EQ(platform::pixel(deviceContext, 51, 61), colors::red.platformColor());
        EXPECT_EQ(platform::pixel(deviceContext, 50, 60), colors::green.platformColor());
        EXPECT_NE(platform::pixel(deviceContext, 53, 60), colors::green.platformColor());
        EXPECT_NE(platform::pixel(deviceContext, 50, 62), colors::green.platformColor());
    }
    platform::releaseWindowContext(frame->window(), deviceContext);
    delete frame;
}

TEST_F(OffscreenContextTest, AFrameWithoutAWindowStillGetsAColourPicture) {
    Frame frame({0, 0, 10, 10}, nullptr, nullptr);
    OffscreenContext offscreen(&frame, 4, 4, Color{10, 20, 30, 0});
    EXPECT_EQ(platform::pixel(offscreen.platformContext(), 2, 2), platform::colorWord(10, 20, 30));
}

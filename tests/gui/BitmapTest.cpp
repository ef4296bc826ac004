#include "TestSupport.h"

#include "gui/Bitmap.h"
#include "platform/Diagnostics.h"

#include <array>

using BitmapTest = HostWindowTest;

TEST_F(BitmapTest, EachResourceLoadsAtItsSize) {
    struct Expected {
        int id, width, height;
    };
    const std::array<Expected, 9> table = {{{101, 568, 290},
                                            {102, 267, 267},
                                            {104, 268, 268},
                                            {106, 13, 13},
                                            {108, 6, 6},
                                            {109, 43, 43},
                                            {110, 42, 34},
                                            {111, 19, 243},
                                            {112, 12, 19}}};
    for (const Expected& e : table) {
        Bitmap* bitmap = new Bitmap(e.id);
        EXPECT_TRUE(bitmap->loaded()) << e.id;
        EXPECT_EQ(bitmap->width(), e.width) << e.id;
        EXPECT_EQ(bitmap->height(), e.height) << e.id;
        bitmap->release();
    }
}

TEST_F(BitmapTest, OnlyTheLowSixteenBitsOfTheNumberCount) {
    Bitmap* bitmap = new Bitmap(0x10000 + 106);
    EXPECT_EQ(bitmap->width(), 13);
    bitmap->release();
}

TEST_F(BitmapTest, AMissingResourceIsEmptyAndDrawsNothing) {
    Bitmap* missing = new Bitmap(4711);
    EXPECT_FALSE(missing->loaded());
    EXPECT_EQ(missing->width(), 0);
    EXPECT_EQ(missing->height(), 0);
    const platform::ColorWord before = windowPixel(host, 5, 5);
    platform::DeviceContext* deviceContext = platform::windowContext(host);
    {
        DrawContext context(nullptr, deviceContext, host);
        missing->blit(context, {0, 0, 10, 10}, {0, 0});
        missing->blitMasked(context, {0, 0, 10, 10}, {0, 0});
    }
    platform::releaseWindowContext(host, deviceContext);
    EXPECT_EQ(windowPixel(host, 5, 5), before);
    missing->release();
}

TEST_F(BitmapTest, ReleaseAtCountTwoKeepsItAndTheLastReleaseFreesIt) {
    const int objects = platform::liveDrawingObjects();
    Bitmap* bitmap = new Bitmap(108);
    EXPECT_EQ(bitmap->referenceCount(), 1);
    EXPECT_EQ(platform::liveDrawingObjects(), objects + 1); // its picture
    bitmap->retain();
    EXPECT_EQ(bitmap->referenceCount(), 2);
    bitmap->release();
    EXPECT_EQ(bitmap->referenceCount(), 1);
    EXPECT_EQ(bitmap->width(), 6); // still alive
    EXPECT_EQ(platform::liveDrawingObjects(), objects + 1);
    bitmap->release();
    EXPECT_EQ(platform::liveDrawingObjects(), objects);
}

TEST_F(BitmapTest, BlitCopiesFromTheOffsetIntoTheDestination) {
    Bitmap* selector = new Bitmap(110);
    platform::DeviceContext* deviceContext = platform::windowContext(host);
    {
        DrawContext context(nullptr, deviceContext, host);
        selector->blit(context, {0, 0, 42, 17}, {0, 17});   // the lower picture
        selector->blit(context, {100, 0, 142, 34}, {0, 0}); // the whole strip
    }
    platform::releaseWindowContext(host, deviceContext);
    for (int y = 0; y < 17; y += 4)
        for (int x = 0; x < 42; x += 5)
            EXPECT_EQ(windowPixel(host, x, y), windowPixel(host, 100 + x, 17 + y));
    selector->release();
}

// The marker on a coloured ground: key-coloured pixels leave the ground as
// it was, all others show the picture.
TEST_F(BitmapTest, MaskedCopyLeavesKeyColouredPixelsUntouched) {
    Bitmap* marker = new Bitmap(106);
    platform::DeviceContext* deviceContext = platform::windowContext(host);
    {
        DrawContext context(nullptr, deviceContext, host);
        context.setPaintColor(colors::magenta);
        context.paintRect({-1, -1, 40, 40});
        marker->blit(context, {0, 0, 13, 13}, {0, 0});
        marker->blitMasked(context, {20, 20, 33, 33}, {0, 0});
        // A second masked copy reuses the mask and gives the same pixels.
        marker->blitMasked(context, {0, 20, 13, 33}, {0, 0});
    }
    platform::releaseWindowContext(host, deviceContext);
    int keyed = 0, shown = 0;
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 13; ++x) {
            const platform::ColorWord picture = windowPixel(host, x, y);
            const platform::ColorWord masked = windowPixel(host, 20 + x, 20 + y);
            if (picture == colors::transparencyKey.platformColor()) {
                ++keyed;
                EXPECT_EQ(masked, colors::magenta.platformColor()) << x << "," << y;
            } else {
                ++shown;
                EXPECT_EQ(masked, picture) << x << "," << y;
            }
            EXPECT_EQ(windowPixel(host, x, 20 + y), masked);
        }
    EXPECT_GT(keyed, 0);
    EXPECT_GT(shown, 0);
    // The picture itself is unchanged by the masked copy.
    Bitmap* again = marker;
    platform::DeviceContext* second = platform::windowContext(host);
    {
        DrawContext context(nullptr, second, host);
        again->blit(context, {50, 50, 63, 63}, {0, 0});
    }
    platform::releaseWindowContext(host, second);
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 13; ++x)
            EXPECT_EQ(windowPixel(host, 50 + x, 50 + y), windowPixel(host, x, y));
    marker->release();
}

TEST_F(BitmapTest, MaskedCopyWritesOnlyTheDestinationRectangle) {
    Bitmap* handle = new Bitmap(112);
    platform::DeviceContext* deviceContext = platform::windowContext(host);
    {
        DrawContext context(nullptr, deviceContext, host);
        context.setPaintColor(colors::blue);
        context.paintRect({-1, -1, 40, 40});
        handle->blitMasked(context, {10, 10, 16, 15}, {0, 0}); // the top-left 6 x 5
    }
    platform::releaseWindowContext(host, deviceContext);
    for (int y = 5; y < 35; ++y)
        for (int x = 5; x < 30; ++x)
            if (x < 10 || x >= 16 || y < 10 || y >= 15) {
                EXPECT_EQ(windowPixel(host, x, y), colors::blue.platformColor()) << x << "," << y;
            }
    handle->release();
}

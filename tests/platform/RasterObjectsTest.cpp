#include "platform/Diagnostics.h"
#include "platform/Drawing.h"
#include "platform/raster/Objects.h"

#include <gtest/gtest.h>

#include <vector>

TEST(RasterObjects, ANewMemoryContextMakesMonochromeCompatiblePictures) {
    platform::DeviceContext* fresh = platform::createMemoryContext(nullptr);
    platform::PixelMap* mono = platform::createCompatiblePixelMap(fresh, 3, 3);
    platform::PixelMap* colour = platform::createCompatiblePixelMap(nullptr, 3, 3);
    platform::DeviceContext* probe = platform::createMemoryContext(nullptr);
    platform::selectPixelMap(probe, mono);
    platform::setPixel(probe, 0, 0, 0x00000080);
    EXPECT_EQ(platform::pixel(probe, 0, 0), 0u); // dark red turns black
    platform::selectPixelMap(fresh, colour);
    platform::PixelMap* alsoColour = platform::createCompatiblePixelMap(fresh, 3, 3);
    platform::selectPixelMap(probe, alsoColour);
    platform::setPixel(probe, 0, 0, 0x00000080);
    EXPECT_EQ(platform::pixel(probe, 0, 0), 0x80u);
    platform::deleteMemoryContext(probe);
    platform::deleteMemoryContext(fresh);
    for (platform::PixelMap* map : {mono, colour, alsoColour})
        EXPECT_TRUE(platform::deletePixelMap(map));
}

TEST(RasterObjects, ObjectsInUseCannotBeDeletedAndStockObjectsNever) {
    const int before = platform::liveDrawingObjects();
    platform::DeviceContext* context = platform::createMemoryContext(nullptr);
    platform::Pen* pen = platform::createPen(platform::PenStyle::Solid, 1, 0);
    platform::Pen* stock = platform::selectPen(context, pen);
    EXPECT_FALSE(platform::deletePen(pen));
    platform::selectPen(context, stock);
    EXPECT_TRUE(platform::deletePen(pen));
    EXPECT_FALSE(platform::deletePen(platform::stockNullPen()));
    EXPECT_FALSE(platform::deleteMemoryContext(nullptr));
    EXPECT_TRUE(platform::deleteMemoryContext(context));
    EXPECT_EQ(platform::liveDrawingObjects(), before);
}

TEST(RasterObjects, SelectReturnsThePreviousObjectAndRefusesNone) {
    platform::DeviceContext* context = platform::createMemoryContext(nullptr);
    platform::Brush* brush = platform::createSolidBrush(0x112233);
    platform::Brush* stock = platform::selectBrush(context, brush);
    ASSERT_NE(stock, nullptr);
    EXPECT_EQ(platform::currentBrush(context), brush);
    EXPECT_EQ(platform::selectBrush(context, nullptr), nullptr);
    EXPECT_EQ(platform::currentBrush(context), brush);
    EXPECT_EQ(platform::selectBrush(context, stock), brush);
    platform::deleteBrush(brush);
    platform::deleteMemoryContext(context);
}

TEST(RasterObjects, OnlyTheTextMappingModeExists) {
    platform::DeviceContext* context = platform::createMemoryContext(nullptr);
    EXPECT_EQ(platform::mapMode(context), platform::MapModeText);
    EXPECT_EQ(platform::setMapMode(context, 8), 0);
    EXPECT_EQ(platform::setMapMode(context, platform::MapModeText), platform::MapModeText);
    platform::IntPoint p{7, 9};
    EXPECT_TRUE(platform::deviceToLogical(context, &p, 1));
    EXPECT_EQ(p.x, 7);
    EXPECT_EQ(p.y, 9);
    platform::deleteMemoryContext(context);
}

namespace {

std::vector<unsigned char> bmp(int width, int height, int bits = 24, int compression = 0) {
    const int stride = (width * 3 + 3) & ~3;
    std::vector<unsigned char> data(
        54 + static_cast<std::size_t>(stride * (height < 0 ? -height : height)), 0);
    auto put = [&data](std::size_t at, std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            data[at + i] = static_cast<unsigned char>(value >> (8 * i));
    };
    data[0] = 'B';
    data[1] = 'M';
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, static_cast<std::uint32_t>(width), 4);
    put(22, static_cast<std::uint32_t>(height), 4);
    put(26, 1, 2);
    put(28, static_cast<std::uint32_t>(bits), 2);
    put(30, static_cast<std::uint32_t>(compression), 4);
    return data;
}

} // namespace

TEST(RasterObjects, BmpRowsAreReadBottomUpInBlueGreenRedOrder) {
    auto data = bmp(2, 2);
    // Bottom row first: (0,1) = blue, then the top row: (0,0) = red.
    data[54] = 0xFF;
    data[54 + 8 + 2] = 0xFF;
    platform::PixelMap* map = platform::raster::decodeBmp(data.data(), data.size());
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->width, 2);
    EXPECT_EQ(map->height, 2);
    EXPECT_EQ(map->pixels[0], platform::colorWord(255, 0, 0));
    EXPECT_EQ(map->pixels[2], platform::colorWord(0, 0, 255));
    EXPECT_TRUE(platform::deletePixelMap(map));
}

TEST(RasterObjects, MalformedBmpDataIsRefused) {
    const auto good = bmp(3, 3);
    EXPECT_EQ(platform::raster::decodeBmp(good.data(), good.size() - 1), nullptr); // truncated
    EXPECT_EQ(platform::raster::decodeBmp(good.data(), 30), nullptr);
    auto wrongDepth = bmp(3, 3, 8);
    EXPECT_EQ(platform::raster::decodeBmp(wrongDepth.data(), wrongDepth.size()), nullptr);
    auto compressed = bmp(3, 3, 24, 1);
    EXPECT_EQ(platform::raster::decodeBmp(compressed.data(), compressed.size()), nullptr);
    auto hugeWidth = bmp(3, 3);
    hugeWidth[21] = 0x7F; // width of about two billion
    EXPECT_EQ(platform::raster::decodeBmp(hugeWidth.data(), hugeWidth.size()), nullptr);
    auto badOffset = bmp(3, 3);
    badOffset[13] = 0x7F;
    EXPECT_EQ(platform::raster::decodeBmp(badOffset.data(), badOffset.size()), nullptr);
    EXPECT_EQ(platform::raster::decodeBmp(nullptr, 100), nullptr);
}

TEST(RasterObjects, ResourcesLoadByNumberAndUnknownNumbersGiveNone) {
    platform::PixelMap* background = platform::loadPixelMapResource(nullptr, 101);
    ASSERT_NE(background, nullptr);
    int width = 0, height = 0;
    EXPECT_TRUE(platform::pixelMapSize(background, width, height));
    EXPECT_EQ(width, 568);
    EXPECT_EQ(height, 290);
    platform::deletePixelMap(background);
    EXPECT_EQ(platform::loadPixelMapResource(nullptr, 103), nullptr);
}

#include "RasterFixture.h"
#include "platform/Diagnostics.h"

using platform::RasterOp;

class BlockCopyTest : public RasterFixture {
  protected:
    void SetUp() override {
        RasterFixture::SetUp();
        sourceContext = platform::createMemoryContext(context);
        source = platform::createCompatiblePixelMap(context, 4, 2);
        platform::selectPixelMap(sourceContext, source);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 4; ++x)
                platform::setPixel(sourceContext, x, y,
                                   static_cast<platform::ColorWord>(0x10 * (y * 4 + x + 1)));
    }
    void TearDown() override {
        platform::deleteMemoryContext(sourceContext);
        platform::deletePixelMap(source);
        RasterFixture::TearDown();
    }
    platform::DeviceContext* sourceContext = nullptr;
    platform::PixelMap* source = nullptr;
};

TEST_F(BlockCopyTest, CopiesARegionFromAnOffset) {
    platform::blockCopy(context, 10, 20, 2, 2, sourceContext, 1, 0, RasterOp::SourceCopy);
    EXPECT_EQ(at(10, 20), 0x20u);
    EXPECT_EQ(at(11, 20), 0x30u);
    EXPECT_EQ(at(10, 21), 0x60u);
    EXPECT_EQ(at(12, 20), paper);
}

TEST_F(BlockCopyTest, ClipsToBothPictures) {
    // Half of the block lies left of the destination and beyond the source.
    platform::blockCopy(context, -2, 0, 8, 2, sourceContext, 0, 0, RasterOp::SourceCopy);
    EXPECT_EQ(at(0, 0), 0x30u);
    EXPECT_EQ(at(1, 0), 0x40u);
    EXPECT_EQ(at(2, 0), paper);
    EXPECT_TRUE(
        platform::blockCopy(context, 0, 0, 5, 5, sourceContext, 100, 100, RasterOp::SourceCopy));
    EXPECT_FALSE(platform::blockCopy(context, 0, 0, 1, 1, nullptr, 0, 0, RasterOp::SourceCopy));
}

TEST_F(BlockCopyTest, RasterOperationsCombineSourceAndDestination) {
    platform::setPixel(context, 0, 0, 0x00F0F0F0);
    platform::setPixel(sourceContext, 0, 0, 0x000F0FFF);
    platform::blockCopy(context, 0, 0, 1, 1, sourceContext, 0, 0, RasterOp::SourceAnd);
    EXPECT_EQ(at(0, 0), 0x000000F0u);
    platform::blockCopy(context, 0, 0, 1, 1, sourceContext, 0, 0, RasterOp::SourcePaint);
    EXPECT_EQ(at(0, 0), 0x000F0FFFu);
    platform::blockCopy(context, 0, 0, 1, 1, sourceContext, 0, 0, RasterOp::NotSourceCopy);
    EXPECT_EQ(at(0, 0), 0x00F0F000u);
}

TEST_F(BlockCopyTest, ColourToMonochromeMarksTheSourceBackgroundColour) {
    platform::PixelMap* mono = platform::createMonochromePixelMap(4, 2);
    platform::DeviceContext* monoContext = platform::createMemoryContext(context);
    platform::selectPixelMap(monoContext, mono);
    platform::setBackgroundColor(sourceContext, 0x30);
    platform::blockCopy(monoContext, 0, 0, 4, 2, sourceContext, 0, 0, RasterOp::SourceCopy);
    EXPECT_EQ(platform::pixel(monoContext, 2, 0), 0x00FFFFFFu); // the 0x30 pixel
    EXPECT_EQ(platform::pixel(monoContext, 1, 0), 0u);
    EXPECT_EQ(platform::pixel(monoContext, 2, 1), 0u);

    // Back to colour: 0 takes the destination's text colour, 1 its background.
    platform::setTextColor(context, 0x00000011);
    platform::setBackgroundColor(context, 0x00002200);
    platform::blockCopy(context, 0, 0, 4, 1, monoContext, 0, 0, RasterOp::SourceCopy);
    EXPECT_EQ(at(2, 0), 0x00002200u);
    EXPECT_EQ(at(0, 0), 0x00000011u);
    platform::deleteMemoryContext(monoContext);
    platform::deletePixelMap(mono);
}

TEST_F(BlockCopyTest, OverlappingCopyWithinOnePictureUsesTheOriginalPixels) {
    for (int x = 0; x < 5; ++x)
        platform::setPixel(context, x, 0, static_cast<platform::ColorWord>(x + 1));
    platform::blockCopy(context, 1, 0, 4, 1, context, 0, 0, RasterOp::SourceCopy);
    EXPECT_EQ(at(1, 0), 1u);
    EXPECT_EQ(at(2, 0), 2u);
    EXPECT_EQ(at(4, 0), 4u);
}

#include "RasterFixture.h"

#include "platform/Diagnostics.h"
#include <cmath>

using ShapesTest = RasterFixture;

TEST_F(ShapesTest, FillRectCoversLeftTopAndExcludesRightBottom) {
    useBrush(ink);
    platform::Brush* brush = platform::currentBrush(context);
    platform::fillRect(context, {2, 1, 5, 3}, brush);
    EXPECT_EQ(rows(0, 0, 6, 4), "......\n..###.\n..###.\n......\n");
    EXPECT_FALSE(platform::fillRect(context, {0, 0, 4, 4}, nullptr));
}

TEST_F(ShapesTest, PolygonFillsWithoutRightAndBottomEdges) {
    useBrush(ink);
    platform::Pen* previous = platform::selectPen(context, platform::stockNullPen());
    const platform::IntPoint square[] = {{10, 10}, {14, 10}, {14, 13}, {10, 13}};
    platform::polygon(context, square, 4);
    EXPECT_EQ(rows(9, 9, 16, 15), ".......\n.####..\n.####..\n.####..\n.......\n.......\n");
    platform::selectPen(context, previous);
}

TEST_F(ShapesTest, PolygonUsesTheAlternateRule) {
    useBrush(ink);
    platform::Pen* previous = platform::selectPen(context, platform::stockNullPen());
    // A square drawn twice around: the overlap counts twice and stays empty.
    const platform::IntPoint outer[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {2, 2},
                                        {8, 2}, {8, 8},  {2, 8},   {2, 2},  {0, 10}};
    platform::polygon(context, outer, 10);
    EXPECT_EQ(at(1, 5), ink);
    EXPECT_EQ(at(5, 5), paper);
    platform::selectPen(context, previous);
}

TEST_F(ShapesTest, EllipseFillStaysInsideItsBoxAndIsSymmetric) {
    useBrush(ink);
    platform::Pen* previous = platform::selectPen(context, platform::stockNullPen());
    platform::ellipse(context, {10, 10, 21, 17});
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            const bool inBox = x >= 10 && x < 21 && y >= 10 && y < 17;
            if (!inBox) {
                ASSERT_EQ(at(x, y), paper) << x << "," << y;
            }
            // Mirror images across both axes of the box.
            if (x <= 30 && y <= 26) {
                EXPECT_EQ(at(x, y), at(30 - x, y)) << x << "," << y;
                EXPECT_EQ(at(x, y), at(x, 26 - y)) << x << "," << y;
            }
        }
    EXPECT_EQ(at(10, 13), ink); // extremes of both axes are reached
    EXPECT_EQ(at(20, 13), ink);
    EXPECT_EQ(at(15, 10), ink);
    EXPECT_EQ(at(15, 16), ink);
    EXPECT_EQ(at(10, 10), paper); // corners are not
    platform::selectPen(context, previous);
}

TEST_F(ShapesTest, EllipseOutlineIsAThinClosedRing) {
    platform::ellipse(context, {5, 5, 26, 26}); // white brush: outline only shows
    // Every row between the extremes has exactly two outline runs.
    EXPECT_EQ(at(5, 15), ink);
    EXPECT_EQ(at(25, 15), ink);
    EXPECT_EQ(at(15, 5), ink);
    EXPECT_EQ(at(15, 25), ink);
    EXPECT_EQ(at(15, 15), paper);
    for (int y = 6; y < 25; ++y) {
        int runs = 0;
        for (int x = 4; x < 27; ++x)
            runs += at(x, y) != paper && at(x - 1, y) == paper;
        EXPECT_EQ(runs, 2) << "row " << y;
    }
}

TEST_F(ShapesTest, ArcRunsCounterClockwiseFromStartRayToEndRay) {
    // From the right-hand ray to the top ray: the upper right quarter.
    platform::arc(context, {0, 0, 21, 21}, {30, 10}, {10, -30});
    int upperRight = 0, others = 0;
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 21; ++x)
            if (at(x, y) != paper)
                (x >= 10 && y <= 10 ? upperRight : others)++;
    EXPECT_GT(upperRight, 10);
    EXPECT_EQ(others, 0);
    // Swapping the rays draws the other three quarters.
    platform::arc(context, {0, 0, 21, 21}, {10, -30}, {30, 10});
    EXPECT_EQ(at(0, 10), ink);
    EXPECT_EQ(at(10, 20), ink);
}

TEST_F(ShapesTest, ArcWithEqualRaysIsTheWholeEllipse) {
    platform::arc(context, {0, 0, 21, 21}, {10, 0}, {10, 0});
    EXPECT_EQ(at(0, 10), ink);
    EXPECT_EQ(at(20, 10), ink);
    EXPECT_EQ(at(10, 20), ink);
    EXPECT_EQ(at(10, 0), ink);
}

TEST_F(ShapesTest, PieFillsOnlyItsSector) {
    useBrush(ink);
    platform::Pen* previous = platform::selectPen(context, platform::stockNullPen());
    // Upper left quarter: from the top ray to the left ray.
    platform::pie(context, {0, 0, 21, 21}, {10, 0}, {0, 10});
    EXPECT_EQ(at(5, 5), ink);
    EXPECT_EQ(at(15, 5), paper);
    EXPECT_EQ(at(5, 15), paper);
    EXPECT_EQ(at(15, 15), paper);
    platform::selectPen(context, previous);
}

TEST_F(ShapesTest, PieWithAPenOutlinesItsRadii) {
    platform::pie(context, {0, 0, 21, 21}, {10, 0}, {0, 10});
    EXPECT_EQ(at(10, 5), ink);  // on the vertical radius
    EXPECT_EQ(at(5, 10), ink);  // on the horizontal radius
    EXPECT_EQ(at(5, 5), paper); // white brush inside
}

TEST_F(ShapesTest, SetPixelWritesOnePixelAndReportsOutsideAsInvalid) {
    EXPECT_EQ(platform::setPixel(context, 3, 4, 0x00ABCDEF), 0x00ABCDEFu);
    EXPECT_EQ(at(3, 4), 0x00ABCDEFu);
    EXPECT_EQ(countInk(40, 40), 1);
    EXPECT_EQ(platform::setPixel(context, -1, 0, ink), 0xFFFFFFFFu);
    EXPECT_EQ(platform::pixel(context, 40, 0), 0xFFFFFFFFu);
}

TEST_F(ShapesTest, DrawingOnAMonochromePictureGivesBlackOrWhite) {
    platform::PixelMap* mono = platform::createMonochromePixelMap(4, 1);
    platform::DeviceContext* monoContext = platform::createMemoryContext(context);
    platform::selectPixelMap(monoContext, mono);
    platform::setPixel(monoContext, 0, 0, 0x00C0C0C0);
    platform::setPixel(monoContext, 1, 0, 0x00303030);
    EXPECT_EQ(platform::pixel(monoContext, 0, 0), 0x00FFFFFFu);
    EXPECT_EQ(platform::pixel(monoContext, 1, 0), 0u);
    platform::deleteMemoryContext(monoContext);
    platform::deletePixelMap(mono);
}

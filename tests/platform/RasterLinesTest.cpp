#include "RasterFixture.h"

using LinesTest = RasterFixture;

TEST_F(LinesTest, LineLeavesOutItsEndPixelAndMovesThePosition) {
    platform::moveTo(context, 2, 5);
    platform::lineTo(context, 8, 5);
    EXPECT_EQ(rows(0, 5, 10, 6), "..######..\n");
    // The next segment starts at the old end and draws it.
    platform::lineTo(context, 8, 8);
    EXPECT_EQ(rows(7, 4, 10, 9), "...\n##.\n.#.\n.#.\n...\n");
}

TEST_F(LinesTest, DiagonalAndSteepLinesAreConnectedWithoutTheEnd) {
    platform::moveTo(context, 0, 0);
    platform::lineTo(context, 4, 4);
    EXPECT_EQ(rows(0, 0, 5, 5), "#....\n.#...\n..#..\n...#.\n.....\n");
    platform::moveTo(context, 10, 0);
    platform::lineTo(context, 12, 6);
    // One pixel per row for a steep line, six rows, row 6 left out.
    for (int y = 0; y < 6; ++y) {
        int inRow = 0;
        for (int x = 9; x < 14; ++x)
            inRow += at(x, y) != paper;
        EXPECT_EQ(inRow, 1) << "row " << y;
    }
    EXPECT_EQ(at(12, 6), paper);
}

TEST_F(LinesTest, ZeroLengthLineDrawsNothing) {
    platform::moveTo(context, 3, 3);
    platform::lineTo(context, 3, 3);
    EXPECT_EQ(countInk(40, 40), 0);
}

TEST_F(LinesTest, PenColourIsUsedExactly) {
    usePen(platform::PenStyle::Solid, 1, 0x00123456);
    platform::moveTo(context, 0, 0);
    platform::lineTo(context, 2, 0);
    EXPECT_EQ(at(0, 0), 0x00123456u);
}

TEST_F(LinesTest, DottedPenAlternatesThreeOnThreeOffAlongAPath) {
    usePen(platform::PenStyle::Dot, 1, ink);
    platform::setBackgroundMode(context, platform::BackgroundMode::Transparent);
    platform::moveTo(context, 0, 0);
    platform::lineTo(context, 5, 0);
    platform::lineTo(context, 13, 0);
    EXPECT_EQ(rows(0, 0, 14, 1), "###...###...#.\n");
}

TEST_F(LinesTest, DottedPenFillsGapsWithTheBackgroundWhenOpaque) {
    usePen(platform::PenStyle::Dot, 1, ink);
    platform::setBackgroundMode(context, platform::BackgroundMode::Opaque);
    platform::setBackgroundColor(context, 0x0000FF00);
    platform::moveTo(context, 0, 0);
    platform::lineTo(context, 6, 0);
    EXPECT_EQ(at(1, 0), ink);
    EXPECT_EQ(at(4, 0), 0x0000FF00u);
}

TEST_F(LinesTest, WidePenIsThickWithRoundEndsAndNeverDotted) {
    usePen(platform::PenStyle::Dot, 3, ink);
    platform::moveTo(context, 10, 10);
    platform::lineTo(context, 20, 10);
    for (int x = 10; x <= 20; ++x) {
        EXPECT_EQ(at(x, 9), ink) << x;
        EXPECT_EQ(at(x, 10), ink) << x;
        EXPECT_EQ(at(x, 11), ink) << x;
    }
    EXPECT_EQ(at(15, 8), paper);
    EXPECT_EQ(at(15, 12), paper);
}

TEST_F(LinesTest, NullPenDrawsNothing) {
    platform::Pen* previous = platform::selectPen(context, platform::stockNullPen());
    platform::moveTo(context, 0, 0);
    platform::lineTo(context, 10, 0);
    EXPECT_EQ(countInk(40, 40), 0);
    platform::selectPen(context, previous);
}

TEST_F(LinesTest, PolylineJoinsThePointsWithoutTheLastEnd) {
    const platform::IntPoint points[] = {{1, 1}, {5, 1}, {5, 4}};
    platform::polyline(context, points, 3);
    EXPECT_EQ(rows(0, 0, 7, 5), ".......\n.#####.\n.....#.\n.....#.\n.......\n");
}

TEST_F(LinesTest, LinesOffTheSurfaceAreClipped) {
    platform::moveTo(context, -100, 20);
    platform::lineTo(context, 100, 20);
    for (int x = 0; x < 40; ++x)
        EXPECT_EQ(at(x, 20), ink);
}

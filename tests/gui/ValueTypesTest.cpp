#include "gui/Color.h"
#include "gui/Fonts.h"
#include "gui/Geometry.h"

#include <gtest/gtest.h>

#include <string>

TEST(Rect, ContainsAllFourEdges) {
    const Rect r{10, 20, 30, 40};
    EXPECT_EQ(r.width(), 20);
    EXPECT_EQ(r.height(), 20);
    EXPECT_TRUE(r.contains({10, 20}));
    EXPECT_TRUE(r.contains({30, 40}));
    EXPECT_TRUE(r.contains({30, 25}));
    EXPECT_TRUE(r.contains({15, 40}));
    EXPECT_FALSE(r.contains({31, 25}));
    EXPECT_FALSE(r.contains({15, 41}));
    EXPECT_FALSE(r.contains({9, 25}));
}

TEST(Color, EqualityIgnoresTheSpareByte) {
    EXPECT_EQ((Color{1, 2, 3, 0}), (Color{1, 2, 3, 99}));
    EXPECT_NE((Color{1, 2, 3, 0}), (Color{1, 2, 4, 0}));
    EXPECT_EQ((Color{1, 2, 3, 99}).platformColor(), 0x030201u);
}

TEST(Color, NamedColours) {
    EXPECT_EQ(colors::grey, (Color{127, 127, 127, 0}));
    EXPECT_EQ(colors::aqua.platformColor(), 0xFFFF00u);
    EXPECT_EQ(colors::magenta.platformColor(), 0xFF00FFu);
    EXPECT_EQ(colors::transparencyKey, colors::white);
}

TEST(Fonts, RowsAndSizesOfTheFontTable) {
    // Out of range: row 0, Arial 12 bold.
    auto f = describeFont(7, 0);
    EXPECT_EQ(std::string(f.faceName), "Arial");
    EXPECT_EQ(f.height, -12);
    EXPECT_EQ(f.weight, 700);
    EXPECT_EQ(describeFont(-1, 0).weight, 700);
    f = describeFont(5, 0);
    EXPECT_EQ(std::string(f.faceName), "Small Fonts");
    EXPECT_EQ(f.height, -9);
    EXPECT_EQ(f.weight, 400);
    f = describeFont(3, 20);
    EXPECT_EQ(std::string(f.faceName), "Arial");
    EXPECT_EQ(f.height, -20);
    f = describeFont(6, 0);
    EXPECT_EQ(std::string(f.faceName), "Symbol");
    EXPECT_EQ(f.pitchAndFamily, 0x50);
    EXPECT_EQ(f.height, -13);
    f = describeFont(1, 0);
    EXPECT_EQ(f.pitchAndFamily, 0x22);
    EXPECT_EQ(f.outPrecision, 1);
    EXPECT_EQ(f.clipPrecision, 2);
    EXPECT_EQ(f.quality, 0);
    EXPECT_EQ(f.charSet, 0);
}

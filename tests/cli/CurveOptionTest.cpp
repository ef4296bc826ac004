// Reading the points of --curve: the editor's pixels or 0..1, and one clear
// error for every curve a user could not draw.

#include "cli/CurveOption.h"
#include "cli/CommandError.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CurveOption, TakesPointsInTheCurveEditorsPixels) {
    const auto points = parseCurvePoints(" 11,255; 80.4,120 ;200,39.6;255,11;", false);
    ASSERT_EQ(points.size(), 4u);
    EXPECT_EQ(points[1].x, 80.0f);
    EXPECT_EQ(points[1].y, 120.0f);
    EXPECT_EQ(points[2].y, 40.0f) << "rounded to whole pixels, as a pointer delivers them";
    EXPECT_EQ(points[3].x, 255.0f);
}

TEST(CurveOption, MapsNormalizedInputsToTheRightAndOutputsUpwards) {
    const auto normal = parseCurvePoints("0,0.1;0.25,0.9;0.5,0.5;1,1", true);
    ASSERT_EQ(normal.size(), 4u);
    EXPECT_EQ(normal[0].x, 11.0f);
    EXPECT_EQ(normal[0].y, 231.0f); // 255 - 0.1 * 244 = 230.6
    EXPECT_EQ(normal[1].x, 72.0f);
    EXPECT_EQ(normal[2].x, 133.0f);
    EXPECT_EQ(normal[2].y, 133.0f);
    EXPECT_EQ(normal[3].x, 255.0f);
    EXPECT_EQ(normal[3].y, 11.0f);
}

TEST(CurveOption, RejectsCurvesAUserCannotDraw) {
    std::string fifty = "11,200;";
    for (int i = 0; i < 49; ++i)
        fifty += std::to_string(15 + 4 * i) + ",100;";
    fifty += "255,11";
    const struct {
        const char* text;
        bool normalized;
        const char* says;
    } bad[] = {
        {"11,255", false, "at least two"},
        {"", false, "at least two"},
        {"11,255;133,300;255,11", false, "outside 11 to 255"},
        {"11,255;133,5;255,11", false, "outside"},
        {"0,0;0.5,1.5;1,1", true, "outside 0 to 1"},
        {"20,255;255,11", false, "start at x 11"},
        {"11,255;250,11", false, "end at x 255"},
        {"0.1,0;1,1", true, "start at input 0"},
        {"11,255;150,100;100,80;255,11", false, "ascending"},
        {"11,255;100,100;100,80;255,11", false, "ascending"},
        {"0,0;0.5,0.2;0.501,0.3;1,1", true, "a pixel apart"},
        {"11,255;abc;255,11", false, "not a pair"},
        {"11,255;12,x;255,11", false, "not a pair"},
        {fifty.c_str(), false, "more than 50"},
    };
    for (const auto& c : bad) {
        try {
            parseCurvePoints(c.text, c.normalized);
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const UsageError& error) {
            const std::string message = error.what();
            EXPECT_NE(message.find(c.says), std::string::npos) << c.text << ": " << message;
            EXPECT_EQ(message.find('\n'), std::string::npos);
        }
    }
}

} // namespace

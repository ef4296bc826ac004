#include "editor/CurveModel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// The editor's pictures: a 267 × 267 background and a 13 × 13 marker.
const PlotArea editorArea = PlotArea::forPictures(267, 267, 13, 13);

std::vector<float> sample(const CurveModel& model, int n = 1024) {
    std::vector<float> values(n, -99.0f);
    model.sampleCurve(values.data(), n);
    return values;
}

TEST(PlotArea, KeepsMarkersAndAMarginInside) {
    EXPECT_EQ(editorArea.minX, 11.0f);
    EXPECT_EQ(editorArea.minY, 11.0f);
    EXPECT_EQ(editorArea.maxX, 255.0f);
    EXPECT_EQ(editorArea.maxY, 255.0f);
}

TEST(CurveModel, StartsAsARisingLineSampledAsJOver1024) {
    CurveModel model(editorArea);
    ASSERT_EQ(model.pointCount(), 2);
    EXPECT_EQ(model.point(0).x, 11.0f);
    EXPECT_EQ(model.point(0).y, 255.0f);
    EXPECT_EQ(model.point(1).x, 255.0f);
    EXPECT_EQ(model.point(1).y, 11.0f);
    std::vector<float> values = sample(model);
    // The bisection stops within 0.1 pixel of the input, 0.1/244 in output.
    for (int j = 0; j < 1024; ++j)
        ASSERT_NEAR(values[j], j / 1024.0, 0.1 / 244 + 1e-6) << j;
    EXPECT_LT(values[1023], 0.9995f);
}

TEST(CurveModel, ThreePointsMakeAQuadraticBezier) {
    CurveModel model(editorArea);
    ASSERT_TRUE(model.press(133.0f, 200.0f));
    ASSERT_EQ(model.pointCount(), 3);
    EXPECT_FALSE(model.isSpline());
    // B(0.5) = (P0 + 2 P1 + P2) / 4.
    CurvePoint mid = model.bezierAt(0.5f);
    EXPECT_FLOAT_EQ(mid.x, (11.0f + 2 * 133.0f + 255.0f) / 4);
    EXPECT_FLOAT_EQ(mid.y, (255.0f + 2 * 200.0f + 11.0f) / 4);
    std::vector<float> values = sample(model);
    // The sample nearest the curve's middle lies on the quadratic.
    float x = 11.0f + 512 * (244.0f / 1024);
    float height = 1.0f - (mid.y - 11.0f) / 244.0f;
    EXPECT_NEAR(values[512], height, 0.02) << "at x " << x;
}

TEST(CurveModel, FourPointsSwitchToTheSplineWhoseFastFormMatchesTheRecursion) {
    CurveModel model(editorArea);
    model.press(80.0f, 100.0f);
    EXPECT_FALSE(model.isSpline());
    model.press(180.0f, 240.0f);
    EXPECT_TRUE(model.isSpline());
    for (int extra = 0; extra < 12; ++extra)
        model.press(20.0f + extra * 19.0f, 30.0f + (extra * 37) % 200);
    ASSERT_GE(model.pointCount(), 10);
    for (double u = 0.0; u < model.splineEnd(); u += 0.013) {
        CurvePoint fast = model.splineAt(u);
        CurvePoint full = model.splineAtByFullRecursion(u);
        ASSERT_NEAR(fast.x, full.x, 1e-3) << u;
        ASSERT_NEAR(fast.y, full.y, 1e-3) << u;
    }
    // A clamped spline starts on its first point; at its end every basis
    // function is zero.
    EXPECT_FLOAT_EQ(model.splineAt(0.0).x, model.point(0).x);
    EXPECT_FLOAT_EQ(model.splineAt(0.0).y, model.point(0).y);
    EXPECT_EQ(model.splineAt(model.splineEnd()).x, 0.0f);
    EXPECT_EQ(model.splineAtByFullRecursion(model.splineEnd()).x, 0.0f);
}

TEST(CurveModel, SplineSamplesFollowTheCurve) {
    CurveModel model(editorArea);
    model.press(60.0f, 60.0f);
    model.press(130.0f, 200.0f);
    model.press(200.0f, 40.0f);
    ASSERT_EQ(model.pointCount(), 5);
    std::vector<float> values = sample(model);
    double step = (255.0 - 11.0) / 1024;
    for (int j = 0; j < 1024; j += 97) {
        double x = 11.0 + j * step;
        // Find the curve's y at x by a fine scan of the parameter.
        double bestY = 0, bestDistance = 1e9;
        for (double u = 0; u < model.splineEnd(); u += 1e-4) {
            CurvePoint p = model.splineAt(u);
            if (std::fabs(p.x - x) < bestDistance) {
                bestDistance = std::fabs(p.x - x);
                bestY = p.y;
            }
        }
        EXPECT_NEAR(values[j], 1.0 - (bestY - 11.0) / 244.0, 0.01) << j;
    }
}

TEST(CurveModel, PressSelectsWithinFivePixelsOrAddsAPoint) {
    CurveModel model(editorArea);
    EXPECT_TRUE(model.press(14.0f, 251.0f)); // distance² 9 + 16 = 25: not closer than 5
    EXPECT_EQ(model.pointCount(), 3);
    EXPECT_EQ(model.selectedPoint(), 1);

    CurveModel other(editorArea);
    EXPECT_TRUE(other.press(13.0f, 252.0f)); // distance² 13
    EXPECT_EQ(other.pointCount(), 2);
    EXPECT_EQ(other.selectedPoint(), 0);
}

TEST(CurveModel, PressOutsideThePlottingAreaDoesNothing) {
    CurveModel model(editorArea);
    EXPECT_FALSE(model.press(5.0f, 100.0f));
    EXPECT_FALSE(model.press(100.0f, 260.0f));
    EXPECT_EQ(model.pointCount(), 2);
    EXPECT_EQ(model.selectedPoint(), -1);
    // A point itself can be picked from just outside the area.
    EXPECT_TRUE(model.press(8.0f, 257.0f));
    EXPECT_EQ(model.selectedPoint(), 0);
}

TEST(CurveModel, NewPointsKeepXOrder) {
    CurveModel model(editorArea);
    model.press(200.0f, 50.0f);
    model.press(100.0f, 150.0f);
    model.press(150.0f, 100.0f);
    ASSERT_EQ(model.pointCount(), 5);
    for (int i = 1; i < model.pointCount(); ++i)
        EXPECT_LE(model.point(i - 1).x, model.point(i).x);
    EXPECT_EQ(model.point(model.selectedPoint()).x, 150.0f);
    // An equal x goes after the existing point, and the first of the two
    // is selected.
    model.press(150.0f, 200.0f);
    EXPECT_EQ(model.point(model.selectedPoint()).x, 150.0f);
    EXPECT_EQ(model.point(model.selectedPoint() + 1).x, 150.0f);
}

TEST(CurveModel, FiftyPointsAtMost) {
    CurveModel model(editorArea);
    for (int i = 0; i < 60; ++i)
        model.press(20.0f + i * 3.7f, 100.0f + (i % 7) * 10);
    EXPECT_EQ(model.pointCount(), 50);
    EXPECT_TRUE(model.press(240.0f, 240.0f));
    EXPECT_EQ(model.pointCount(), 50);
    EXPECT_EQ(model.selectedPoint(), -1);
    EXPECT_FALSE(model.drag(240.0f, 200.0f));
}

TEST(CurveModel, DragKeepsInnerPointsBetweenNeighboursAndEndsVertical) {
    CurveModel model(editorArea);
    model.press(100.0f, 100.0f);
    model.press(150.0f, 100.0f);
    ASSERT_EQ(model.point(model.selectedPoint()).x, 150.0f);
    int inner = model.selectedPoint();
    EXPECT_TRUE(model.drag(20.0f, 120.0f));
    EXPECT_FLOAT_EQ(model.point(inner).x, 100.0f + 0.0001f);
    EXPECT_EQ(model.point(inner).y, 120.0f);
    EXPECT_TRUE(model.drag(260.0f, -40.0f));
    EXPECT_FLOAT_EQ(model.point(inner).x, 255.0f - 0.0001f);
    EXPECT_EQ(model.point(inner).y, 11.0f);
    EXPECT_TRUE(model.drag(180.0f, 400.0f));
    EXPECT_EQ(model.point(inner).x, 180.0f);
    EXPECT_EQ(model.point(inner).y, 255.0f);

    ASSERT_TRUE(model.press(255.0f, 11.0f));
    int last = model.pointCount() - 1;
    ASSERT_EQ(model.selectedPoint(), last);
    model.drag(100.0f, 50.0f);
    EXPECT_EQ(model.point(last).x, 255.0f);
    EXPECT_EQ(model.point(last).y, 50.0f);
}

TEST(CurveModel, RightClickDeletesOnlyInnerPoints) {
    CurveModel model(editorArea);
    EXPECT_TRUE(model.remove(11.0f, 255.0f));
    EXPECT_TRUE(model.remove(255.0f, 11.0f));
    EXPECT_TRUE(model.remove(100.0f, 100.0f));
    EXPECT_EQ(model.pointCount(), 2);
    EXPECT_FALSE(model.remove(300.0f, 100.0f));

    model.press(100.0f, 100.0f);
    model.press(200.0f, 60.0f);
    ASSERT_EQ(model.pointCount(), 4);
    EXPECT_TRUE(model.remove(102.0f, 101.0f));
    ASSERT_EQ(model.pointCount(), 3);
    EXPECT_EQ(model.point(1).x, 200.0f);
    EXPECT_EQ(model.selectedPoint(), -1);
}

TEST(CurveModel, CopyAndRestoreRoundTrip) {
    CurveModel model(editorArea);
    model.press(60.0f, 70.0f);
    model.press(120.0f, 200.0f);
    CurvePoint saved[CurveModel::MaxPoints];
    model.copyPoints(saved);

    CurveModel restored(editorArea);
    restored.restorePoints(saved, model.pointCount());
    ASSERT_EQ(restored.pointCount(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(restored.point(i).x, model.point(i).x);
        EXPECT_EQ(restored.point(i).y, model.point(i).y);
    }
    EXPECT_EQ(sample(restored), sample(model));
}

} // namespace

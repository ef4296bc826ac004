// The curve editor control in a frame of its own: the frame-to-curve step
// and the control's bounds, the press/drag/delete gestures through the
// window ending in one report each, what it draws, and the published copy
// of its points that the effect samples.

#include "editor/CurveEditor.h"
#include "editor/PublishedCurve.h"
#include "gui/Bitmap.h"
#include "gui/ControlListener.h"
#include "gui/Frame.h"
#include "gui/FrameEditor.h"
#include "platform/Headless.h"
#include "platform/Windowing.h"

#include <gtest/gtest.h>

#include <vector>

using platform::headless::PointerLeft;
using platform::headless::PointerRight;

namespace {

constexpr Rect curveSize{167, 11, 434, 278};

class CountingListener final : public ControlListener {
  public:
    void controlChanged(DrawContext&, Control* control) override {
        ++calls;
        lastValue = control->value();
    }
    int calls = 0;
    float lastValue = -1.0f;
};

// Notes where the selected point is whenever a drag drives the paced idle.
class IdleRecorder final : public FrameEditor {
  public:
    void trackingIdle() override {
        const CurvePoint& p = curve->model().point(curve->model().selectedPoint());
        seen.push_back({static_cast<std::int32_t>(p.x), static_cast<std::int32_t>(p.y)});
    }
    void* openHostWindow(WindowDescription&) override { return nullptr; }
    void closeHostWindow(WindowDescription&) override {}

    CurveEditor* curve = nullptr;
    std::vector<Point> seen;
};

class CurveEditorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host = platform::headless::createHostWindow(40, 30, 600, 300);
        frame = new Frame({0, 0, 568, 290}, host, &idle);
        background = new Bitmap(102);
        marker = new Bitmap(106);
        curve = new CurveEditor(curveSize, &listener, 0, background, marker);
        idle.curve = curve;
        ASSERT_TRUE(frame->attachView(curve));
    }
    void TearDown() override {
        delete frame;
        // Released only after the frame has destroyed the curve editor.
        background->release();
        marker->release();
        platform::destroyWindow(host);
        platform::headless::setPointer({});
    }

    Point window(float x, float y) const {
        return {curveSize.left + static_cast<std::int32_t>(x),
                curveSize.top + static_cast<std::int32_t>(y)};
    }
    // A gesture as a user makes it: press, move through `path`, release.
    void gesture(Point from, const std::vector<Point>& path, std::uint32_t buttons = PointerLeft) {
        std::vector<platform::headless::PointerState> steps;
        platform::IntPoint origin{0, 0};
        platform::mapWindowPoints(frame->window(), nullptr, &origin, 1);
        steps.push_back({origin.x + from.h, origin.y + from.v, buttons});
        for (Point p : path)
            steps.push_back({origin.x + p.h, origin.y + p.v, buttons});
        platform::headless::scriptPointer(steps);
        platform::headless::deliverButtonPress(frame->window(), from.h, from.v, buttons);
    }
    platform::ColorWord pixel(Point at) const {
        std::int32_t w = 0, h = 0;
        const auto all = platform::headless::windowPixels(frame->window(), w, h);
        return all[static_cast<std::size_t>(at.v * w + at.h)];
    }
    // The pen's black within a pixel of the point: the curve is drawn as
    // straight pieces between sampled points.
    bool inked(const CurvePoint& p) const {
        const Point centre = window(p.x, p.y);
        for (std::int32_t dy = -1; dy <= 1; ++dy)
            for (std::int32_t dx = -1; dx <= 1; ++dx)
                if (pixel({centre.h + dx, centre.v + dy}) == platform::colorWord(0, 0, 0))
                    return true;
        return false;
    }

    Bitmap* background = nullptr;
    Bitmap* marker = nullptr;
    CountingListener listener;
    IdleRecorder idle;
    platform::Window* host = nullptr;
    Frame* frame = nullptr;
    CurveEditor* curve = nullptr;
};

TEST_F(CurveEditorTest, StartsAsTheRisingLineWithItsValueAlwaysZero) {
    EXPECT_EQ(curve->origin(), (Point{167, 11}));
    ASSERT_EQ(curve->pointCount(), 2);
    EXPECT_EQ(curve->model().point(0).x, 11.0f);
    EXPECT_EQ(curve->model().point(0).y, 255.0f);
    EXPECT_EQ(curve->model().point(1).x, 255.0f);
    EXPECT_EQ(curve->model().point(1).y, 11.0f);
    curve->setValue(0.8f);
    EXPECT_EQ(curve->value(), 0.0f);
}

TEST_F(CurveEditorTest, PressesAreTakenInFrameCoordinatesWithinTheControlOnly) {
    // Points are found relative to the control's corner.
    EXPECT_TRUE(curve->press(window(11, 255)));
    EXPECT_EQ(curve->model().selectedPoint(), 0);
    // Outside the control: nothing, even next to a point's frame position.
    EXPECT_FALSE(curve->press({11, 255}));
    EXPECT_FALSE(curve->press({curveSize.right + 1, curveSize.top + 100}));
    // Inside the control but outside the plotting area: nothing added.
    EXPECT_FALSE(curve->press({curveSize.right, curveSize.top + 100}));
    EXPECT_FALSE(curve->press(window(5, 100)));
    EXPECT_EQ(curve->pointCount(), 2);
    // Exactly 5 pixels from a point adds one.
    EXPECT_TRUE(curve->press(window(255, 16)));
    EXPECT_EQ(curve->pointCount(), 3);
}

TEST_F(CurveEditorTest, APressOutsideThePlottingAreaEndsAtOnceAndStillReports) {
    gesture(window(4, 100), {window(100, 100), window(120, 100)});
    EXPECT_EQ(curve->pointCount(), 2);
    EXPECT_EQ(listener.calls, 1);
    EXPECT_EQ(listener.lastValue, 0.0f);
}

TEST_F(CurveEditorTest, GesturesReportOnceEachAndFollowThePointRules) {
    gesture(window(100, 100), {window(110, 120), window(130, 140)});
    ASSERT_EQ(curve->pointCount(), 3);
    EXPECT_EQ(listener.calls, 1);
    EXPECT_EQ(curve->model().point(1).x, 130.0f);
    EXPECT_EQ(curve->model().point(1).y, 140.0f);
    EXPECT_EQ(curve->model().selectedPoint(), -1) << "released";

    // The last point moves only vertically and stops at the top edge.
    gesture(window(255, 11), {window(200, 60), window(150, -40)});
    EXPECT_EQ(listener.calls, 2);
    EXPECT_EQ(curve->model().point(2).x, 255.0f);
    EXPECT_EQ(curve->model().point(2).y, 11.0f);

    // An inner point dragged past its left neighbour stays just right of it.
    gesture(window(130, 140), {window(0, 140)});
    EXPECT_EQ(curve->model().point(1).x, 11.0f + 0.0001f);

    // Right clicks: on the first point and on empty space nothing goes;
    // on the inner point it goes, and the count never drops below 2.
    gesture(window(11, 255), {}, PointerRight);
    gesture(window(200, 200), {}, PointerRight);
    EXPECT_EQ(curve->pointCount(), 3);
    gesture(window(11.0001f, 140), {}, PointerRight);
    EXPECT_EQ(curve->pointCount(), 2);
    gesture(window(255, 11), {}, PointerRight);
    EXPECT_EQ(curve->pointCount(), 2);
    EXPECT_EQ(listener.calls, 7);
}

TEST_F(CurveEditorTest, EachDragPassMovesThePointThenRunsTheIdleAndRests) {
    const std::uint64_t waitedBefore = platform::headless::waitedMilliseconds();
    gesture(window(100, 100), {window(110, 120), window(130, 140)});
    // The last pass finds the script run dry: the pointer stays, then the
    // buttons read as released.
    const std::vector<Point> moves{{110, 120}, {130, 140}, {130, 140}};
    EXPECT_EQ(idle.seen, moves);
    EXPECT_EQ(platform::headless::waitedMilliseconds() - waitedBefore, moves.size());

    // Gestures that end without dragging neither run the idle nor rest.
    gesture(window(4, 100), {window(100, 100)});
    gesture(window(130, 140), {window(120, 140)}, PointerRight);
    EXPECT_EQ(curve->pointCount(), 2);
    EXPECT_EQ(idle.seen.size(), moves.size());
    EXPECT_EQ(platform::headless::waitedMilliseconds() - waitedBefore, moves.size());
}

TEST_F(CurveEditorTest, WithFiftyPointsAPressAddsNothingAndTheDragMovesNothing) {
    std::vector<CurvePoint> points;
    for (int i = 0; i < 50; ++i)
        points.push_back({11.0f + 4.9f * static_cast<float>(i), 200.0f});
    curve->restorePoints(points.data(), 50);
    gesture(window(100, 50), {window(100, 80)});
    EXPECT_EQ(curve->pointCount(), 50);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(curve->model().point(i).y, 200.0f);
    EXPECT_EQ(listener.calls, 1);
}

TEST_F(CurveEditorTest, DrawsARestoredCurveOnTheFirstPaint) {
    const CurvePoint three[3] = {{11, 200}, {133, 20}, {255, 200}};
    curve->restorePoints(three, 3);
    platform::headless::deliverPaint(frame->window());
    // A quadratic Bezier curve: its middle lies half-way to the control point.
    EXPECT_TRUE(inked(curve->model().bezierAt(0.25f)));
    EXPECT_TRUE(inked(curve->model().bezierAt(0.5f)));
    EXPECT_TRUE(inked(curve->model().bezierAt(0.75f)));
    EXPECT_FALSE(inked({133, 200})) << "no straight segment below the arch";
}

TEST_F(CurveEditorTest, AFourthPointSwitchesTheDrawingToTheSpline) {
    platform::headless::deliverPaint(frame->window());
    const CurvePoint four[4] = {{11, 255}, {60, 30}, {200, 240}, {255, 11}};
    gesture(window(60, 30), {});
    curve->restorePoints(four, 4);
    platform::headless::deliverPaint(frame->window());
    ASSERT_TRUE(curve->model().isSpline());
    for (double u : {0.3, 0.5, 0.7})
        EXPECT_TRUE(inked(curve->model().splineAt(u))) << u;
    // The spline keeps away from its inner control points.
    EXPECT_FALSE(inked({120, 120}));
}

TEST_F(CurveEditorTest, SamplingReadsThePublishedPoints) {
    gesture(window(133, 40), {});
    std::vector<float> fromEditor(1024), fromModel(1024);
    curve->sampleCurve(fromEditor.data(), 1024);
    curve->model().sampleCurve(fromModel.data(), 1024);
    EXPECT_EQ(fromEditor, fromModel);
}

TEST(PublishedCurve, HandsOutTheLastPublishedPoints) {
    const PlotArea area = PlotArea::forPictures(267, 267, 13, 13);
    PublishedCurve published(area);
    EXPECT_EQ(published.pointCount(), 2);
    const CurvePoint four[4] = {{11, 255}, {50, 100}, {150, 60}, {255, 11}};
    published.publish(four, 4);
    CurveModel copy(area);
    published.read(copy);
    ASSERT_EQ(copy.pointCount(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(copy.point(i).x, four[i].x);
        EXPECT_EQ(copy.point(i).y, four[i].y);
    }
    std::vector<float> a(256), b(256);
    published.sampleCurve(a.data(), 256);
    copy.sampleCurve(b.data(), 256);
    EXPECT_EQ(a, b);
}

} // namespace

// The editor as a host and a user meet it: the instance comes from the
// entry, the host drives it through the record, and the user's presses and
// drags reach the editor's window through the headless window system.

#include "EditorHost.h"

#include "editor/CurveEditor.h"
#include "editor/ShaperEditor.h"
#include "editor/ShaperEffectEdit.h"
#include "editor/ShaperLayout.h"
#include "gui/Faders.h"
#include "gui/Frame.h"
#include "gui/PopupPicture.h"
#include "gui/RotaryKnob.h"
#include "gui/Selectors.h"
#include "host/EffectBase.h"
#include "platform/Diagnostics.h"
#include "platform/Windowing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

using platform::headless::PointerLeft;
using platform::headless::PointerRight;
using platform::headless::PointerShift;

namespace {

constexpr Point curveOrigin = shaperLayout::CurveAnchor;

Point onCurve(float x, float y) {
    return {curveOrigin.h + static_cast<std::int32_t>(x),
            curveOrigin.v + static_cast<std::int32_t>(y)};
}

std::vector<float> transferTable(const EditorHost& host) {
    std::vector<float> table;
    for (int k = 0; k < 1024; ++k)
        table.push_back(host.effect().transferTable().transferEntry(k));
    return table;
}

std::vector<CurvePoint> curvePoints(const EditorHost& host) {
    const CurveEditor* curve = host.effect().shaperEditor()->curveEditor();
    std::vector<CurvePoint> points(static_cast<std::size_t>(curve->pointCount()));
    curve->copyPoints(points.data());
    return points;
}

int automationsOf(const EditorHost& host, std::int32_t index) {
    int n = 0;
    for (const Automation& a : host.automations)
        n += a.index == index;
    return n;
}

// The knob's handle is drawn where handlePointForValue puts it: compare the
// window's pixels there with the handle picture's opaque pixels.
bool handleDrawnAt(const EditorHost& host, const RotaryKnob& knob) {
    Point p;
    knob.handlePointForValue(p);
    const Rect& size = knob.viewSize();
    const Point topLeft{p.h + size.left - knob.inset(), p.v + size.top - knob.inset()};
    std::int32_t w = 0, h = 0;
    const auto handle = resourcePixels(shaperLayout::KnobHandleBitmap, w, h);
    int opaque = 0;
    for (std::int32_t y = 0; y < h; ++y) {
        for (std::int32_t x = 0; x < w; ++x) {
            const platform::ColorWord c = handle[static_cast<std::size_t>(y * w + x)];
            if (c == platform::colorWord(255, 255, 255))
                continue;
            ++opaque;
            if (host.pixel({topLeft.h + x, topLeft.v + y}) != c)
                return false;
        }
    }
    return opaque > 0;
}

// The marker is drawn masked with its top-left at trunc(x - w / 2),
// trunc(y - h / 2) of the curve's coordinates.
bool markerDrawnAt(const EditorHost& host, float x, float y) {
    std::int32_t w = 0, h = 0;
    const auto marker = resourcePixels(shaperLayout::CurveMarkerBitmap, w, h);
    const Point topLeft =
        onCurve(x - static_cast<float>(w) * 0.5f, y - static_cast<float>(h) * 0.5f);
    for (std::int32_t j = 0; j < h; ++j) {
        for (std::int32_t i = 0; i < w; ++i) {
            const platform::ColorWord c = marker[static_cast<std::size_t>(j * w + i)];
            if (c != platform::colorWord(255, 255, 255) &&
                host.pixel({topLeft.h + i, topLeft.v + j}) != c)
                return false;
        }
    }
    return !marker.empty();
}

class EditorEndToEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        objectsBefore = platform::liveDrawingObjects();
        windowsBefore = platform::headless::liveWindowCount();
        host = std::make_unique<EditorHost>();
        ASSERT_NE(host->record, nullptr);
        host->openEditor();
        host->paint();
        host->idle();
        editor = host->effect().shaperEditor();
        host->automations.clear();
    }
    void TearDown() override {
        host.reset();
        EXPECT_EQ(platform::headless::liveWindowCount(), windowsBefore);
        EXPECT_EQ(platform::liveDrawingObjects(), objectsBefore);
    }

    std::unique_ptr<EditorHost> host;
    ShaperEditor* editor = nullptr;
    int objectsBefore = 0;
    int windowsBefore = 0;
};

TEST_F(EditorEndToEnd, TheHostSeesTheEffectWithItsEditor) {
    const EffectRecord& r = *host->record;
    EXPECT_EQ(r.uniqueId, fourCharCode('V', 'a', 'r', 'E'));
    EXPECT_EQ(r.flags, 0x39) << "HasEditor, CanMono, CanOverwrite, ChunkPrograms";
    EXPECT_EQ(r.inputCount, 2);
    EXPECT_EQ(r.outputCount, 2);
    ASSERT_NE(host->editorWindow(), nullptr);
    EXPECT_EQ(host->effect().shaperEditor()->editorFrame()->viewCount(), 9);
}

TEST_F(EditorEndToEnd, DraggingPreGainAutomatesTheParameterAndMovesTheHandle) {
    RotaryKnob* knob = editor->knob(1);
    ASSERT_NE(knob, nullptr);
    // From the top of the knob (value 0.5) clockwise to three o'clock.
    host->drag({129, 73}, {{138, 76}, {144, 83}, {148, 92}});

    ASSERT_FALSE(host->automations.empty());
    float previous = 0.0f;
    for (const Automation& a : host->automations) {
        EXPECT_EQ(a.index, 1);
        EXPECT_GE(a.value, previous);
        previous = a.value;
    }
    EXPECT_GT(previous, 0.75f);
    EXPECT_LT(previous, 0.95f);
    EXPECT_EQ(host->parameter(1), previous);
    EXPECT_EQ(knob->value(), previous);

    host->idle();
    EXPECT_TRUE(handleDrawnAt(*host, *knob));
}

TEST_F(EditorEndToEnd, AHostParameterChangeMovesTheKnobAtTheNextIdle) {
    RotaryKnob* knob = editor->knob(3);
    ASSERT_NE(knob, nullptr);
    EXPECT_TRUE(handleDrawnAt(*host, *knob));
    const float before = knob->value();

    host->setParameter(3, 0.1f);
    EXPECT_EQ(knob->value(), before) << "controls follow on the window's thread, at idle";
    host->idle();
    EXPECT_EQ(knob->value(), host->parameter(3));
    EXPECT_TRUE(handleDrawnAt(*host, *knob));
    EXPECT_TRUE(host->automations.empty()) << "the host is not told of its own change";
}

TEST_F(EditorEndToEnd, ClickingASelectorSwitchesItsParameter) {
    const Rect size = editor->selector(5)->viewSize();
    host->click({size.left + 30, size.top + 8});
    EXPECT_EQ(host->parameter(5), 1.0f);
    ASSERT_FALSE(host->automations.empty());
    EXPECT_EQ(host->automations.back().index, 5);
    EXPECT_EQ(host->automations.back().value, 1.0f);

    host->click({size.left + 5, size.top + 8});
    EXPECT_EQ(host->parameter(5), 0.0f);
}

TEST_F(EditorEndToEnd, DraggingTheFaderMovesDryWetAndShiftMovesItATenthAsFast) {
    VerticalFader* fader = editor->dryWetFader();
    ASSERT_NE(fader, nullptr);
    const float range = 246.0f - 25.0f;
    auto expected = [&](float anchor, int pressV, int handle, int endV, bool fine) {
        float raw =
            1.0f - (static_cast<float>(endV - 25) - static_cast<float>(pressV - handle)) / range;
        if (fine)
            raw = anchor + (raw - anchor) / 10.0f;
        return std::clamp(raw, 0.0f, 1.0f);
    };

    int handle = fader->handlePosition();
    float start = fader->value();
    host->drag({545, handle + 5}, {{545, handle - 10}, {545, handle - 17}});
    const float coarse = expected(start, handle + 5, handle, handle - 17, false);
    EXPECT_NEAR(host->parameter(7), coarse, 1e-6f);
    EXPECT_EQ(host->automations.back().index, 7);
    host->idle();
    EXPECT_NE(fader->handlePosition(), handle);

    handle = fader->handlePosition();
    start = fader->value();
    host->drag({545, handle + 5}, {{545, handle - 17}}, PointerLeft | PointerShift);
    const float fine = expected(start, handle + 5, handle, handle - 17, true);
    EXPECT_NEAR(host->parameter(7), fine, 1e-6f);
    EXPECT_LT(std::abs(fine - start), std::abs(coarse - 0.0f));
    EXPECT_NEAR(fine - start, 22.0f / range / 10.0f, 0.02f);
}

TEST_F(EditorEndToEnd, ThePopupOpensAndClosesWithoutReachingTheEffect) {
    PopupPicture* popup = editor->popupPicture();
    ASSERT_NE(popup, nullptr);
    std::vector<float> values;
    for (int i = 0; i < 8; ++i)
        values.push_back(host->parameter(i));

    host->click({50, 100});
    EXPECT_EQ(popup->value(), 1.0f);
    std::int32_t w = 0, h = 0;
    const auto picture = resourcePixels(shaperLayout::PopupBitmap, w, h);
    EXPECT_EQ(host->pixel({167 + 100, 11 + 100}), picture[static_cast<std::size_t>(100 * w + 100)]);

    // While open the picture alone takes presses: one on a knob is dropped,
    // one on the picture closes it.
    host->drag({129, 73}, {{148, 92}});
    EXPECT_EQ(popup->value(), 1.0f);
    host->click({300, 150});
    EXPECT_EQ(popup->value(), 0.0f);
    EXPECT_TRUE(host->automations.empty());
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(host->parameter(i), values[static_cast<std::size_t>(i)]);
}

TEST_F(EditorEndToEnd, CurveGesturesRebuildTheTableOncePerGesture) {
    const std::vector<float> straight = transferTable(*host);

    // Add a point above the line: the table rises in the middle.
    host->click(onCurve(133, 60));
    ASSERT_EQ(curvePoints(*host).size(), 3u);
    EXPECT_EQ(automationsOf(*host, 0), 1);
    EXPECT_EQ(host->automations.back().value, 0.0f);
    const std::vector<float> raised = transferTable(*host);
    EXPECT_GT(raised[512], straight[512] + 0.1f);

    // Drag it down in several steps: one rebuild at the end.
    host->drag(onCurve(133, 60), {onCurve(133, 100), onCurve(133, 150), onCurve(133, 220)});
    EXPECT_EQ(automationsOf(*host, 0), 2);
    const std::vector<float> lowered = transferTable(*host);
    EXPECT_LT(lowered[512], straight[512] - 0.1f);
    EXPECT_EQ(curvePoints(*host)[1].y, 220.0f);

    // Delete it with a right click: back to the straight line.
    host->click(onCurve(133, 220), PointerRight);
    EXPECT_EQ(curvePoints(*host).size(), 2u);
    EXPECT_EQ(automationsOf(*host, 0), 3);
    const std::vector<float> again = transferTable(*host);
    for (int k = 0; k < 1024; k += 97)
        EXPECT_NEAR(again[static_cast<std::size_t>(k)], k / 1024.0f, 0.002f);
}

TEST_F(EditorEndToEnd, MarkersAndCurveAreDrawnWhereThePointsAre) {
    host->click(onCurve(100, 40));
    EXPECT_TRUE(markerDrawnAt(*host, 100, 40));
    EXPECT_TRUE(markerDrawnAt(*host, 11, 255));
    EXPECT_TRUE(markerDrawnAt(*host, 255, 11));
    EXPECT_FALSE(markerDrawnAt(*host, 133, 133)) << "no marker where the line was";
    // The quadratic Bezier curve bends towards the middle point: at its
    // middle (t = 0.5) it passes (116.5, 86.5), well above the old line.
    const std::int32_t row = 86;
    bool inked = false;
    for (std::int32_t x = 113; x <= 120; ++x)
        inked |= host->pixel(onCurve(static_cast<float>(x), row)) == platform::colorWord(0, 0, 0);
    EXPECT_TRUE(inked);
}

TEST_F(EditorEndToEnd, ClosingAndReopeningKeepsThePoints) {
    host->click(onCurve(60, 200));
    host->click(onCurve(120, 90));
    host->click(onCurve(200, 30));
    host->drag(onCurve(120, 90), {onCurve(125, 120)});
    const std::vector<CurvePoint> before = curvePoints(*host);
    ASSERT_EQ(before.size(), 5u);

    host->closeEditor();
    EXPECT_EQ(host->editorWindow(), nullptr);
    EXPECT_EQ(editor->savedPointCount(), 5);
    host->openEditor();
    host->paint();
    const std::vector<CurvePoint> after = curvePoints(*host);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(after[i].x, before[i].x);
        EXPECT_EQ(after[i].y, before[i].y);
    }
}

TEST_F(EditorEndToEnd, SettingShaperWhileClosedKeepsTheDrawnCurve) {
    host->click(onCurve(133, 40));
    const std::vector<float> drawn = transferTable(*host);
    host->closeEditor();

    host->setParameter(0, 0.3f);
    EXPECT_EQ(transferTable(*host), drawn);
    host->setParameter(0, 0.9f);
    EXPECT_EQ(transferTable(*host), drawn);
    EXPECT_TRUE(host->automations.size() == 1u);
}

TEST_F(EditorEndToEnd, AHostThatDestroysItsWindowFirstCanStillCloseAndReopen) {
    host->click(onCurve(133, 40));
    platform::destroyWindow(host->hostWindow);
    host->idle();
    host->closeEditor();
    EXPECT_EQ(editor->savedPointCount(), 3);

    host->hostWindow = platform::headless::createHostWindow(10, 10, 600, 300);
    host->openEditor();
    host->paint();
    EXPECT_EQ(curvePoints(*host).size(), 3u);
    EXPECT_TRUE(markerDrawnAt(*host, 133, 40));
}

TEST_F(EditorEndToEnd, EndingTheInstanceWithTheEditorOpenClosesTheWindow) {
    ASSERT_NE(host->editorWindow(), nullptr);
    host->dispatch(OpClose);
    host->record = nullptr;
    EXPECT_EQ(platform::headless::childWindowCount(host->hostWindow), 0);
}

} // namespace

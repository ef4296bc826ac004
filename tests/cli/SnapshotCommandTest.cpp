// `varnex snapshot` and `varnex render --curve` run as a user runs them: the
// PNG shows the curve and its markers where the points were given, and a
// drawn curve changes the rendered audio.

#include "RenderTestSupport.h"
#include "ResourcePixels.h"

#include "cli/AudioFile.h"
#include "cli/EditorSession.h"
#include "cli/LinkedPlugin.h"
#include "cli/PluginHost.h"
#include "editor/CurveEditor.h"
#include "editor/ShaperEditor.h"
#include "editor/ShaperEffectEdit.h"
#include "editor/ShaperLayout.h"
#include "host/EffectBase.h"
#include "platform/Headless.h"
#include "tests/support/PngFile.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using render_test::runVarnex;

// A PNG the command wrote, read pixel by pixel.
struct Picture : RgbImage {
    platform::ColorWord at(std::int32_t x, std::int32_t y) const {
        const std::size_t i =
            3 * (static_cast<std::size_t>(y) * width + static_cast<std::size_t>(x));
        return platform::colorWord(rgb[i], rgb[i + 1], rgb[i + 2]);
    }
};

Picture readPng(const std::string& path) {
    return Picture{readRgbPng(path)};
}

// In the editor's window: the curve's pixels plus the curve editor's corner.
Point inWindow(float x, float y) {
    return {shaperLayout::CurveAnchor.h + static_cast<std::int32_t>(x),
            shaperLayout::CurveAnchor.v + static_cast<std::int32_t>(y)};
}

bool markerAt(const Picture& picture, float x, float y) {
    std::int32_t w = 0, h = 0;
    const auto marker = resourcePixels(shaperLayout::CurveMarkerBitmap, w, h);
    const Point corner =
        inWindow(x - static_cast<float>(w) * 0.5f, y - static_cast<float>(h) * 0.5f);
    for (std::int32_t j = 0; j < h; ++j) {
        for (std::int32_t i = 0; i < w; ++i) {
            const platform::ColorWord c = marker[static_cast<std::size_t>(j * w + i)];
            if (c != platform::colorWord(255, 255, 255) &&
                picture.at(corner.h + i, corner.v + j) != c)
                return false;
        }
    }
    return !marker.empty();
}

bool inkedNear(const Picture& picture, float x, float y) {
    const Point p = inWindow(x, y);
    for (std::int32_t dy = -1; dy <= 1; ++dy)
        for (std::int32_t dx = -1; dx <= 1; ++dx)
            if (picture.at(p.h + dx, p.v + dy) == platform::colorWord(0, 0, 0))
                return true;
    return false;
}

TEST(SnapshotCommand, ShowsTheDrawnCurveWithItsMarkersWhereThePointsAre) {
    ScratchFolder folder;
    // Three points: a quadratic Bezier curve from (11, 200) over (133, 40)
    // to (255, 60), whose middle lies at 1/4, 1/2, 1/4 of them.
    const auto run =
        runVarnex({"snapshot", "-o", "shot.png", "--curve", "11,200;133,40;255,60"}, folder.path());
    ASSERT_EQ(run.exitCode, 0) << (run.errorLines.empty() ? "" : run.errorLines[0]);
    EXPECT_NE(run.out.find("shot.png"), std::string::npos);
    const Picture picture = readPng(folder.file("shot.png"));
    ASSERT_EQ(picture.width, 568u);
    ASSERT_EQ(picture.height, 290u);
    EXPECT_TRUE(markerAt(picture, 11, 200));
    EXPECT_TRUE(markerAt(picture, 133, 40));
    EXPECT_TRUE(markerAt(picture, 255, 60));
    EXPECT_FALSE(markerAt(picture, 11, 255)) << "the first point left its start";
    EXPECT_FALSE(markerAt(picture, 255, 11)) << "the last point left its start";
    EXPECT_TRUE(inkedNear(picture, 0.25f * 11 + 0.5f * 133 + 0.25f * 255,
                          0.25f * 200 + 0.5f * 40 + 0.25f * 60));
}

TEST(SnapshotCommand, TakesNormalizedPointsAndCrowdedOnes) {
    ScratchFolder folder;
    // Inner points closer than the 5-pixel pick distance to their
    // neighbours still each become a point of their own.
    const auto run = runVarnex({"snapshot", "-o", "n.png", "--curve-normalized", "--curve",
                                "0,0.5;0.01,0.51;0.02,0.52;0.5,0.9;1,1"},
                               folder.path());
    ASSERT_EQ(run.exitCode, 0) << (run.errorLines.empty() ? "" : run.errorLines[0]);
    const Picture picture = readPng(folder.file("n.png"));
    ASSERT_EQ(picture.width, 568u);
    // Input 0.02 is x 15.88 -> 16, output 0.52 is y 128.12 -> 128.
    EXPECT_TRUE(markerAt(picture, 16, 128));
    EXPECT_TRUE(markerAt(picture, 133, 35));
    EXPECT_TRUE(markerAt(picture, 255, 11));
}

TEST(EditorSession, EntersExactlyTheGivenPointsThroughTheWindow) {
    const std::vector<CurvePoint> wanted = {{11, 133}, {13, 131}, {16, 128}, {17, 200},
                                            {133, 35}, {250, 15}, {255, 11}};
    PluginHost host(linkedVarnexPlugin());
    {
        EditorSession editor(host);
        editor.drawCurve(wanted);
        const auto& effect =
            *static_cast<ShaperEffectEdit*>(static_cast<EffectBase*>(host.record().object));
        const CurveEditor* curve = effect.shaperEditor()->curveEditor();
        ASSERT_EQ(curve->pointCount(), static_cast<int>(wanted.size()));
        for (std::size_t i = 0; i < wanted.size(); ++i) {
            EXPECT_EQ(curve->model().point(static_cast<int>(i)).x, wanted[i].x) << i;
            EXPECT_EQ(curve->model().point(static_cast<int>(i)).y, wanted[i].y) << i;
        }
    }
    EXPECT_EQ(platform::headless::liveWindowCount(), 0);
}

TEST(SnapshotCommand, ABadCurveFailsWithOneLineAndWritesNothing) {
    ScratchFolder folder;
    for (const char* curve : {"11,255;100,300;255,11", "11,255;200,20;100,30;255,11", "nonsense"}) {
        const auto run = runVarnex({"snapshot", "-o", "bad.png", "--curve", curve}, folder.path());
        EXPECT_EQ(run.exitCode, 2) << curve;
        EXPECT_EQ(run.errorLines.size(), 1u) << curve;
        EXPECT_FALSE(std::filesystem::exists(folder.file("bad.png")));
    }
}

TEST(RenderWithCurve, ADrawnCurveShapesTheSoundAndRefusesAnotherPlugin) {
    ScratchFolder folder;
    writeWavFile(folder.file("in.wav"), render_test::testTones(4000));
    const auto plain = runVarnex({"render", "in.wav", "-o", "plain.wav"}, folder.path());
    const auto drawn = runVarnex(
        {"render", "in.wav", "-o", "drawn.wav", "--curve", "11,255;40,30;255,11"}, folder.path());
    ASSERT_EQ(plain.exitCode, 0);
    ASSERT_EQ(drawn.exitCode, 0) << (drawn.errorLines.empty() ? "" : drawn.errorLines[0]);
    const StereoBuffer a = readAudioFile(folder.file("plain.wav"));
    const StereoBuffer b = readAudioFile(folder.file("drawn.wav"));
    ASSERT_EQ(a.left.size(), b.left.size());
    EXPECT_NE(a.left, b.left);

    const auto refused = runVarnex(
        {"render", "in.wav", "-o", "x.wav", "--plugin", VARNEX_PLUGIN, "--curve", "11,255;255,11"},
        folder.path());
    EXPECT_EQ(refused.exitCode, 2);
    ASSERT_EQ(refused.errorLines.size(), 1u);
    EXPECT_NE(refused.errorLines[0].find("--plugin"), std::string::npos);
}

// The drawn curve travels in the preset: rendering with it is rendering
// with the curve drawn, sample for sample, and the editor shows it.
TEST(RenderWithCurve, APresetSavedWithADrawnCurveRendersAndShowsAsTheCurve) {
    ScratchFolder folder;
    writeWavFile(folder.file("in.wav"), render_test::testTones(4000));
    const std::string curve = "11,255;40,30;150,120;255,11";
    const auto saved = runVarnex(
        {"snapshot", "-o", "s.png", "--curve", curve, "--save-preset", "curve.fxp"}, folder.path());
    const auto drawn =
        runVarnex({"render", "in.wav", "-o", "drawn.wav", "--curve", curve}, folder.path());
    const auto loaded =
        runVarnex({"render", "in.wav", "-o", "preset.wav", "--preset", "curve.fxp"}, folder.path());
    const auto shown =
        runVarnex({"snapshot", "-o", "p.png", "--preset", "curve.fxp"}, folder.path());
    for (const auto* run : {&saved, &drawn, &loaded, &shown})
        ASSERT_EQ(run->exitCode, 0) << (run->errorLines.empty() ? "" : run->errorLines[0]);
    const StereoBuffer expected = readAudioFile(folder.file("drawn.wav"));
    const StereoBuffer output = readAudioFile(folder.file("preset.wav"));
    EXPECT_EQ(output.left, expected.left);
    EXPECT_EQ(output.right, expected.right);
    const Picture picture = readPng(folder.file("p.png"));
    EXPECT_EQ(picture.width, 568u);
    EXPECT_EQ(picture.rgb, readPng(folder.file("s.png")).rgb);
}

// The preset shipped in presets/ sounds as the command in its README made it.
TEST(RenderWithCurve, TheShippedPresetRendersAsTheCommandThatMadeIt) {
    ScratchFolder folder;
    writeWavFile(folder.file("in.wav"), render_test::testTones(4000));
    const auto made =
        runVarnex({"render", "in.wav", "-o", "made.wav", "--curve-normalized", "--curve",
                   "0,0;0.1,0.45;0.3,0.78;0.6,0.94;1,1", "--set", "PreGain=0.7", "--set",
                   "PostGain=0.45", "--set", "PostFilter=0.6", "--set", "DryWet=0.15"},
                  folder.path());
    const auto shipped = runVarnex(
        {"render", "in.wav", "-o", "shipped.wav", "--preset", VARNEX_PRESETS "/warm-drive.fxp"},
        folder.path());
    ASSERT_EQ(made.exitCode, 0) << (made.errorLines.empty() ? "" : made.errorLines[0]);
    ASSERT_EQ(shipped.exitCode, 0) << (shipped.errorLines.empty() ? "" : shipped.errorLines[0]);
    const StereoBuffer expected = readAudioFile(folder.file("made.wav"));
    const StereoBuffer output = readAudioFile(folder.file("shipped.wav"));
    EXPECT_EQ(output.left, expected.left);
    EXPECT_EQ(output.right, expected.right);
}

} // namespace

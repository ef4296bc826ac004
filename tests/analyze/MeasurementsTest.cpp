// The measurements of `varnex analyze` on plug-ins whose curves are known:
// the curve read back from the ramp, the latency it is read at, and the
// harmonic levels a sine gives, against their closed forms.

#include "cli/analyze/Measurements.h"
#include "cli/PluginHost.h"
#include "cli/analyze/PluginProbe.h"
#include "tests/analyze/KnownCurves.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

AnalysisReport analyzeFile(const char* path) {
    PluginHost host(path, static_cast<float>(AnalysisSampleRate), PluginProbe::BlockSize);
    PluginProbe probe(host);
    return analyzePlugin(probe);
}

double db(double ratio) {
    return 20.0 * std::log10(std::fabs(ratio));
}

struct KnownPlugin {
    const char* name;
    const char* path;
    std::function<float(float)> curve;
    std::int32_t latency;
    // Fundamental and third harmonic amplitudes for a sine of amplitude a.
    std::function<double(double)> fundamental;
    std::function<double(double)> third;
    double clipsAbove;
};

const KnownPlugin knownPlugins[] = {
    {"clip", KNOWN_CLIP_PLUGIN, clipCurve, ClipDelay,
     [](double a) { return a <= ClipLevel ? a : clipFundamental(a, ClipLevel); },
     [](double a) { return a <= ClipLevel ? 0.0 : clipThird(a, ClipLevel); }, ClipLevel},
    {"cubic", KNOWN_CUBIC_PLUGIN, cubicCurve, 0, cubicFundamental, cubicThird, 2.0},
};

TEST(Measurements, GiveTheKnownCurveLatencyAndHarmonicLevels) {
    for (const KnownPlugin& plugin : knownPlugins) {
        SCOPED_TRACE(plugin.name);
        const AnalysisReport report = analyzeFile(plugin.path);

        EXPECT_EQ(report.response.latency, plugin.latency);
        // Memoryless at low level: flat, and no phase once the delay is out.
        for (std::size_t i = 0; i < report.response.frequencies.size(); ++i) {
            ASSERT_NEAR(report.response.magnitudeDb[i], 0.0, 1e-3);
            ASSERT_NEAR(report.response.phaseDegrees[i], 0.0, 1e-3);
        }
        EXPECT_TRUE(report.response.linear) << report.response.nonlinearityDb;
        EXPECT_NEAR(report.silenceDcOffset, 0.0, 1e-12);
        const TransferCurve& curve = report.transfer;
        ASSERT_EQ(curve.input.size(), 481u);
        EXPECT_FLOAT_EQ(curve.input.front(), -1.5f);
        EXPECT_FLOAT_EQ(curve.input.back(), 1.5f);
        for (std::size_t i = 0; i < curve.input.size(); ++i)
            ASSERT_NEAR(curve.output[i], plugin.curve(curve.input[i]), 1e-6)
                << "at input " << curve.input[i];

        ASSERT_EQ(report.harmonics.size(), HarmonicTestLevels.size());
        for (const HarmonicLevels& levels : report.harmonics) {
            SCOPED_TRACE(levels.inputDbfs);
            const double a = std::pow(10.0, levels.inputDbfs / 20.0);
            // Barely clipped (-6 dBFS is 0.501), a few samples per period
            // decide the harmonics, and the continuous series does not hold.
            if (a > plugin.clipsAbove && a < 1.2 * plugin.clipsAbove)
                continue;
            const double fundamental = plugin.fundamental(a);
            const double third = plugin.third(a);
            EXPECT_NEAR(levels.fundamentalDbfs, db(fundamental), 0.1);
            if (third == 0.0) {
                EXPECT_LT(levels.relativeDb[2], -120.0);
                EXPECT_LT(levels.thdDb, -120.0);
            } else {
                EXPECT_NEAR(levels.relativeDb[2], db(third / fundamental), 0.1);
            }
            EXPECT_LT(levels.relativeDb[1], -120.0) << "odd curves make no even harmonics";
            EXPECT_GE(levels.thdPlusNDb, levels.thdDb - 1e-9);
        }
    }
}

TEST(Measurements, CubicHasOnlyTheThirdHarmonicAndAliasesAboveEightKilohertz) {
    const AnalysisReport report = analyzeFile(KNOWN_CUBIC_PLUGIN);
    const HarmonicLevels& full = report.harmonics.back();
    const double third = db(cubicThird(1.0) / cubicFundamental(1.0));
    EXPECT_NEAR(full.thdDb, third, 0.1);
    EXPECT_NEAR(full.thdPlusNDb, third, 0.1);
    for (int k = 4; k <= HarmonicLevels::Count; ++k)
        EXPECT_LT(full.relativeDb[static_cast<std::size_t>(k - 1)], -120.0) << "harmonic " << k;
    // The third harmonic folds back once the sweep passes 8 kHz, about a
    // third of the sweep's duration, at the third's level.
    EXPECT_GT(report.aliasing.offSeriesDb, third - 12.0);
    EXPECT_LT(report.aliasing.offSeriesDb, third);
}

} // namespace

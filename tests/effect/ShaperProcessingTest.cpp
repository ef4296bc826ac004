#include "ReferenceShaper.h"
#include "StereoBuffers.h"
#include "effect/FlushDenormals.h"
#include "effect/ShaperEffect.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

namespace {

using namespace ShaperParameter;

constexpr float MaxFloat = std::numeric_limits<float>::max();

// Fills both channels with different, partly clipping noise.
void fillNoise(StereoBuffers& buffers, std::mt19937& random, float level) {
    std::uniform_real_distribution<float> noise(-level, level);
    for (auto* channel : {&buffers.left, &buffers.right}) {
        for (float& x : *channel) {
            x = noise(random);
        }
    }
}

void settleRamps(ShaperEffect& effect) {
    StereoBuffers quiet(20000);
    StereoBuffers out(20000);
    effect.processOverwriting(quiet.channels(), out.channels(), 20000);
}

bool allFinite(const StereoBuffers& buffers) {
    auto finite = [](float x) { return std::isfinite(x); };
    return std::all_of(buffers.left.begin(), buffers.left.end(), finite) &&
           std::all_of(buffers.right.begin(), buffers.right.end(), finite);
}

class FixedCurve : public CurveSource {
  public:
    void sampleCurve(float* values, std::int32_t count) override {
        for (std::int32_t j = 0; j < count; ++j) {
            values[j] = heights[static_cast<std::size_t>(j)];
        }
    }
    std::vector<float> heights = std::vector<float>(1024, 0.0f);
};

TEST(ShaperEntries, ZeroOrNegativeFramesLeaveOutputsUntouched) {
    ShaperEffect effect(nullptr);
    StereoBuffers in(8, 0.5f);
    StereoBuffers out(8, 0.25f);
    effect.processOverwriting(in.channels(), out.channels(), 0);
    effect.processAdding(in.channels(), out.channels(), 0);
    effect.processOverwriting(in.channels(), out.channels(), -4);
    effect.processAdding(nullptr, nullptr, 8);
    EXPECT_EQ(out.left, std::vector<float>(8, 0.25f));
    EXPECT_EQ(out.right, std::vector<float>(8, 0.25f));
}

TEST(ShaperEntries, InPlaceBuffersGiveTheSameResult) {
    std::mt19937 random(7);
    StereoBuffers in(1000);
    fillNoise(in, random, 1.5f);
    ShaperEffect separate(nullptr);
    ShaperEffect inPlace(nullptr);
    StereoBuffers out(1000);
    separate.processOverwriting(in.channels(), out.channels(), 1000);
    StereoBuffers shared = in;
    inPlace.processOverwriting(shared.channels(), shared.channels(), 1000);
    EXPECT_EQ(shared.left, out.left);
    EXPECT_EQ(shared.right, out.right);
}

TEST(ShaperEntries, CrossedBuffersReadBothInputsFirst) {
    std::mt19937 random(8);
    StereoBuffers in(300);
    fillNoise(in, random, 1.0f);
    ShaperEffect plain(nullptr);
    ShaperEffect crossed(nullptr);
    StereoBuffers out(300);
    plain.processOverwriting(in.channels(), out.channels(), 300);
    StereoBuffers shared = in;
    float* inputs[2] = {shared.left.data(), shared.right.data()};
    float* outputs[2] = {shared.right.data(), shared.left.data()};
    crossed.processOverwriting(inputs, outputs, 300);
    EXPECT_EQ(shared.right, out.left);
    EXPECT_EQ(shared.left, out.right);
}

TEST(ShaperEntries, DryWetOneCopiesOrAddsTheInputExactly) {
    std::mt19937 random(3);
    StereoBuffers in(512);
    fillNoise(in, random, 2.0f);
    ShaperEffect effect(nullptr);
    effect.setParameterValue(DryWet, 1.0f);
    effect.setParameterValue(PreGain, 1.0f);
    effect.setParameterValue(PostSwitch, 1.0f);
    StereoBuffers out(512, 9.0f);
    effect.processOverwriting(in.channels(), out.channels(), 512);
    EXPECT_EQ(out.left, in.left);
    EXPECT_EQ(out.right, in.right);
    StereoBuffers sum(512, 0.125f);
    effect.processAdding(in.channels(), sum.channels(), 512);
    for (std::size_t i = 0; i < 512; ++i) {
        ASSERT_EQ(sum.left[i], static_cast<float>(0.125 + in.left[i]));
    }
}

TEST(ShaperEntries, PreGainZeroLeavesOnlyTheDryShare) {
    ShaperEffect effect(nullptr);
    effect.setParameterValue(PreGain, 0.0f);
    effect.setParameterValue(DryWet, 0.25f);
    StereoBuffers in(256, 0.8f);
    StereoBuffers out(256);
    effect.processOverwriting(in.channels(), out.channels(), 256);
    for (std::size_t i = 0; i < 256; ++i) {
        ASSERT_FLOAT_EQ(out.left[i], 0.25f * 0.8f);
    }
}

TEST(ShaperEntries, LeftAndRightAreIndependent) {
    std::mt19937 random(5);
    StereoBuffers in(4000);
    fillNoise(in, random, 3.0f);
    std::fill(in.left.begin(), in.left.end(), 0.0f);
    ShaperEffect effect(nullptr);
    StereoBuffers out(4000);
    effect.processOverwriting(in.channels(), out.channels(), 4000);
    EXPECT_EQ(out.left, std::vector<float>(4000, 0.0f));
    EXPECT_NE(out.right, std::vector<float>(4000, 0.0f));
}

// Post high-pass with the post gain at 2: the undershoot of a step in the
// positive branch passes below -1, while nothing exceeds +1.
TEST(ShaperEntries, LimitActsOnlyOnTheSideTheSampleCameFrom) {
    ShaperEffect effect(nullptr);
    effect.setParameterValue(PostSwitch, 1.0f);
    effect.setParameterValue(PostGain, 1.0f);
    effect.setParameterValue(PostFilter, 0.1f);
    settleRamps(effect);
    // Steps between 0 and 1: the pre filter keeps them in the positive branch.
    StereoBuffers steps(2000);
    for (std::size_t i = 0; i < 2000; ++i) {
        steps.left[i] = (i / 200) % 2 == 0 ? 1.0f : 0.0f;
    }
    StereoBuffers out(2000);
    effect.processOverwriting(steps.channels(), out.channels(), 2000);
    const auto [low, high] = std::minmax_element(out.left.begin(), out.left.end());
    EXPECT_EQ(*high, 1.0f);
    EXPECT_LT(*low, -1.0f);
}

TEST(ShaperEntries, ConstantTwoIsLimitedFromAboveOnly) {
    ShaperEffect effect(nullptr);
    settleRamps(effect);
    StereoBuffers in(3000, 2.0f);
    StereoBuffers out(3000);
    effect.processOverwriting(in.channels(), out.channels(), 3000);
    EXPECT_EQ(*std::max_element(out.left.begin(), out.left.end()), 1.0f);
    EXPECT_NEAR(out.left.back(), 1.0f, 1e-6);
}

TEST(ShaperEntries, BlockSizeDoesNotChangeTheResult) {
    std::mt19937 random(11);
    StereoBuffers in(12000);
    fillNoise(in, random, 1.3f);
    StereoBuffers whole(12000);
    ShaperEffect reference(nullptr);
    reference.processOverwriting(in.channels(), whole.channels(), 12000);
    for (const std::int32_t block : {1, 3, 64, 333, 4096}) {
        ShaperEffect effect(nullptr);
        StereoBuffers out(12000);
        for (std::int32_t start = 0; start < 12000; start += block) {
            float* inputs[2] = {in.left.data() + start, in.right.data() + start};
            float* outputs[2] = {out.left.data() + start, out.right.data() + start};
            effect.processOverwriting(inputs, outputs, std::min(block, 12000 - start));
        }
        EXPECT_EQ(out.left, whole.left) << block;
        EXPECT_EQ(out.right, whole.right) << block;
    }
}

// Random parameter changes, rate changes, curves, suspends and block sizes
// through both entries: the effect agrees with the plain rendering.
TEST(ShaperEntries, AgreesWithThePlainRendering) {
    for (const float rate : {44100.0f, 48000.0f, 22050.0f, 96000.0f}) {
        std::mt19937 random(static_cast<unsigned>(rate));
        std::uniform_real_distribution<float> unit(0.0f, 1.0f);
        ShaperEffect effect(nullptr);
        ReferenceShaper model;
        FixedCurve curve;
        effect.attachCurve(&curve);
        effect.changeSampleRate(rate);
        model.setRate(rate);
        double worst = 0.0;
        float currentRate = rate;
        for (int segment = 0; segment < 120; ++segment) {
            const int change = static_cast<int>(unit(random) * 10.0f);
            if (change < 5) {
                const auto index = static_cast<std::int32_t>(1 + unit(random) * 6.999f);
                float v = unit(random);
                if (index >= PreSwitch && index <= PostSwitch && unit(random) < 0.5f) {
                    v = 0.0f;
                }
                effect.setParameterValue(index, v);
                model.set(index, v);
            } else if (change == 5) {
                // Rising rates only: after a fall the cutoff can start above
                // half the new rate, where the two may limit differently.
                currentRate += 1000.0f;
                const float newRate = currentRate;
                effect.setParameterValue(PreSwitch, unit(random) < 0.5f ? 0.0f : 1.0f);
                model.set(PreSwitch, effect.parameterValue(PreSwitch));
                effect.changeSampleRate(newRate);
                model.setRate(newRate);
            } else if (change == 6) {
                const float bend = 0.3f + unit(random);
                for (std::size_t j = 0; j < 1024; ++j) {
                    curve.heights[j] = static_cast<float>(std::pow(j / 1024.0, bend));
                }
                effect.setParameterValue(Shaper, 0.0f);
                model.setTable(curve.heights);
            } else if (change == 7) {
                effect.suspendProcessing();
                model.suspend();
            }
            const auto frames = static_cast<std::int32_t>(unit(random) * 700.0f);
            const bool adding = unit(random) < 0.5f;
            StereoBuffers in(std::max(frames, 1));
            fillNoise(in, random, 2.5f);
            StereoBuffers out(std::max(frames, 1), 0.5f);
            StereoBuffers expected = out;
            if (adding) {
                effect.processAdding(in.channels(), out.channels(), frames);
            } else {
                effect.processOverwriting(in.channels(), out.channels(), frames);
            }
            model.process(in.left.data(), in.right.data(), expected.left.data(),
                          expected.right.data(), frames, adding);
            for (std::size_t i = 0; i < static_cast<std::size_t>(frames); ++i) {
                worst =
                    std::max(worst, static_cast<double>(std::fabs(out.left[i] - expected.left[i])));
                worst = std::max(worst,
                                 static_cast<double>(std::fabs(out.right[i] - expected.right[i])));
            }
        }
        EXPECT_LE(worst, 2e-6) << "at " << rate << " Hz";
        effect.attachCurve(nullptr);
    }
}

// Mended: by the arithmetic alone a NaN input takes the negative branch and
// then sits in the pre filter's state for ever (full-scale -1 DC). A
// non-finite input is silence instead, in the processed and the dry path.
TEST(ShaperFaults, NonFiniteInputIsTakenAsSilence) {
    std::mt19937 random(21);
    StereoBuffers clean(2000);
    fillNoise(clean, random, 1.0f);
    StereoBuffers dirty = clean;
    const float bad[] = {NAN, INFINITY, -INFINITY};
    for (std::size_t i = 100; i < 2000; i += 97) {
        clean.left[i] = 0.0f;
        clean.right[i + 1 < 2000 ? i + 1 : i] = 0.0f;
        dirty.left[i] = bad[i % 3];
        dirty.right[i + 1 < 2000 ? i + 1 : i] = bad[(i + 1) % 3];
    }
    for (const bool adding : {false, true}) {
        ShaperEffect a(nullptr);
        ShaperEffect b(nullptr);
        a.setParameterValue(DryWet, 0.4f);
        b.setParameterValue(DryWet, 0.4f);
        StereoBuffers expected(2000);
        StereoBuffers got(2000);
        if (adding) {
            a.processAdding(clean.channels(), expected.channels(), 2000);
            b.processAdding(dirty.channels(), got.channels(), 2000);
        } else {
            a.processOverwriting(clean.channels(), expected.channels(), 2000);
            b.processOverwriting(dirty.channels(), got.channels(), 2000);
        }
        EXPECT_EQ(got.left, expected.left);
        EXPECT_EQ(got.right, expected.right);
    }
}

// Mended: inputs at the edge of float32 overflow the filter state; the
// state is cleared instead of turning non-finite, and the channel recovers.
TEST(ShaperFaults, HugeInputsNeverPoisonAChannel) {
    ShaperEffect effect(nullptr);
    effect.setParameterValue(DryWet, 0.5f);
    StereoBuffers in(4000);
    std::fill(in.left.begin(), in.left.begin() + 300, MaxFloat);
    std::fill(in.right.begin(), in.right.begin() + 300, -MaxFloat);
    StereoBuffers out(4000);
    effect.processOverwriting(in.channels(), out.channels(), 4000);
    EXPECT_TRUE(allFinite(out));
    EXPECT_LT(std::fabs(out.left.back()), 1e-4);
    EXPECT_LT(std::fabs(out.right.back()), 1e-4);
    effect.processAdding(in.channels(), out.channels(), 4000);
    EXPECT_TRUE(allFinite(out));
}

TEST(ShaperFaults, AddingToANonFiniteBufferGivesFiniteOutput) {
    ShaperEffect effect(nullptr);
    StereoBuffers in(64, 0.5f);
    StereoBuffers out(64, NAN);
    out.right.assign(64, INFINITY);
    effect.processAdding(in.channels(), out.channels(), 64);
    EXPECT_TRUE(allFinite(out));
}

// Mended: with any curve, no output is ever non-finite.
TEST(ShaperFaults, ACurveOfGarbageStillGivesFiniteOutput) {
    FixedCurve curve;
    for (std::size_t j = 0; j < 1024; ++j) {
        curve.heights[j] = (j % 3 == 0) ? NAN : ((j % 3 == 1) ? MaxFloat : -INFINITY);
    }
    ShaperEffect effect(nullptr);
    effect.attachCurve(&curve);
    effect.setParameterValue(Shaper, 0.0f);
    std::mt19937 random(4);
    StereoBuffers in(5000);
    fillNoise(in, random, 1.0f);
    StereoBuffers out(5000);
    effect.processOverwriting(in.channels(), out.channels(), 5000);
    EXPECT_TRUE(allFinite(out));
    effect.attachCurve(nullptr);
}

#if VARNEX_HAS_SSE_CONTROL
// Mended: subnormal numbers are flushed while the entries run, and the
// caller's floating-point mode is left as it was.
TEST(ShaperFaults, SubnormalsAreFlushedAndTheCallersModeRestored) {
    const unsigned int original = _mm_getcsr();
    ShaperEffect effect(nullptr);
    effect.setParameterValue(DryWet, 1.0f);
    // The control bits, without the sticky exception flags (bits 0 to 5).
    auto controlBits = [] { return _mm_getcsr() & ~0x3Fu; };
    StereoBuffers in(16, 1.0e-40f); // subnormal
    StereoBuffers out(16, 1.0f);
    for (const unsigned int mode :
         {original & ~FlushDenormals::FlushBits, original | FlushDenormals::FlushBits}) {
        _mm_setcsr(mode);
        effect.processOverwriting(in.channels(), out.channels(), 16);
        EXPECT_EQ(controlBits(), mode & ~0x3Fu);
        effect.processAdding(in.channels(), out.channels(), 16);
        EXPECT_EQ(controlBits(), mode & ~0x3Fu);
    }
    _mm_setcsr(original);
    EXPECT_EQ(out.left, std::vector<float>(16, 0.0f));
}
#endif

} // namespace

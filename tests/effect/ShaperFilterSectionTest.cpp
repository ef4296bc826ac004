// The cutoff ramps, mode switches, rate changes and suspend of ShaperEffect,
// observed through its filters between audio calls.

#include "StereoBuffers.h"
#include "effect/ShaperEffect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

using namespace ShaperParameter;

// Runs `frames` frames of a quiet signal in blocks of `block`.
void run(ShaperEffect& effect, std::int32_t frames, std::int32_t block = 512) {
    StereoBuffers in(block, 0.01f);
    StereoBuffers out(block);
    while (frames > 0) {
        const std::int32_t n = std::min(frames, block);
        effect.processOverwriting(in.channels(), out.channels(), n);
        frames -= n;
    }
}

// Applies what the parameter side announced without processing a frame.
void settle(ShaperEffect& effect) {
    StereoBuffers none(1);
    effect.processOverwriting(none.channels(), none.channels(), 0);
}

// Frames until the pre cutoff stops moving, processed one frame per block.
int framesUntilPreRampEnds(ShaperEffect& effect, int limit) {
    int steps = 0;
    float last = effect.currentPreCutoff();
    for (int i = 0; i < limit; ++i) {
        run(effect, 1, 1);
        if (effect.currentPreCutoff() == last) {
            break;
        }
        last = effect.currentPreCutoff();
        ++steps;
    }
    return steps;
}

TEST(ShaperRamp, FirstRampTakes9997StepsAndStopsNearItsTarget) {
    ShaperEffect effect(nullptr);
    EXPECT_EQ(effect.currentPreCutoff(), 1000.0f);
    EXPECT_EQ(effect.currentPreCutoffTarget(), 4410.0f);
    EXPECT_EQ(framesUntilPreRampEnds(effect, 20000), 9997);
    EXPECT_NEAR(effect.currentPreCutoffStep(), 0.341f, 1e-4);
    EXPECT_NEAR(effect.currentPreCutoff(), 4409.03f, 0.01f);
    EXPECT_NEAR(effect.currentPostCutoff(), effect.currentPreCutoff(), 1e-3);
    // The filters run at the last ramped cutoff.
    const BiquadCoefficients expected = BiquadFilter::computeCoefficients(
        effect.currentPreCutoff(), static_cast<float>(std::numbers::pi / 44100.0), 0);
    EXPECT_EQ(effect.preFilterRightSection().coefficientB1(), expected.b1);
    EXPECT_EQ(effect.postFilterLeftSection().coefficientA0(), expected.a0);
}

TEST(ShaperRamp, ABlockOf20000FramesEndsTheSameWay) {
    ShaperEffect oneBlock(nullptr);
    ShaperEffect frameByFrame(nullptr);
    run(oneBlock, 20000, 20000);
    run(frameByFrame, 20000, 1);
    EXPECT_EQ(oneBlock.currentPreCutoff(), frameByFrame.currentPreCutoff());
    EXPECT_EQ(oneBlock.preFilterLeftSection().firstState(),
              frameByFrame.preFilterLeftSection().firstState());
}

TEST(ShaperRamp, SettingTheSameValueAgainReaimsFromWhereItIs) {
    ShaperEffect effect(nullptr);
    run(effect, 5000, 500);
    const float reached = effect.currentPreCutoff();
    effect.setParameterValue(PreFilter, 0.5f);
    settle(effect);
    const float step = effect.currentPreCutoffStep();
    EXPECT_LT(step, 0.341f);
    EXPECT_FLOAT_EQ(step, static_cast<float>((4410.0 - reached) * 0.0001));
    // The remaining distance is again spread over about 10000 frames.
    const int steps = framesUntilPreRampEnds(effect, 20000);
    EXPECT_GT(steps, 9900);
    EXPECT_LE(steps, 10000);
}

TEST(ShaperRamp, TargetWithin1HzChangesNothing) {
    ShaperEffect effect(nullptr);
    run(effect, 12000);
    const float settled = effect.currentPreCutoff();
    const float b1 = effect.preFilterLeftSection().coefficientB1();
    // A target half a hertz from where the first ramp stopped.
    effect.setParameterValue(PreFilter, static_cast<float>(std::sqrt((settled + 0.5) / 17640.0)));
    ASSERT_LT(std::fabs(effect.currentPreCutoffTarget() - settled), 1.0f);
    run(effect, 2000);
    EXPECT_EQ(effect.currentPreCutoff(), settled);
    EXPECT_EQ(effect.preFilterLeftSection().coefficientB1(), b1);
}

// A jump of tens of kilohertz at a high rate: float32 steps can jump over the
// 1 Hz window around the target. The ramp stops at the target instead of
// running away, and takes no longer than a normal ramp.
TEST(ShaperRamp, LongRampsEndAtTheirTarget) {
    ShaperEffect effect(nullptr);
    effect.changeSampleRate(192000.0f);
    effect.setParameterValue(PreFilter, 0.0f);
    run(effect, 30000);
    ASSERT_NEAR(effect.currentPreCutoff(), 10.0f, 1.0f);
    effect.setParameterValue(PreFilter, 1.0f);
    const int steps = framesUntilPreRampEnds(effect, 30000);
    EXPECT_LE(steps, 10000);
    EXPECT_LE(std::fabs(effect.currentPreCutoff() - 76800.0f), 1.0f);
}

// A step too small to change a float32 cutoff would leave the ramp running
// for ever; it ends at the target.
TEST(ShaperRamp, StepsTooSmallForFloat32EndAtTheTarget) {
    ShaperEffect effect(nullptr);
    effect.changeSampleRate(192000.0f);
    effect.setParameterValue(PreFilter, 1.0f);
    run(effect, 30000);
    ASSERT_NEAR(effect.currentPreCutoff(), 76800.0f, 1.0f);
    effect.setParameterValue(PreFilter, 0.9999f); // about 15 Hz lower
    const float target = effect.currentPreCutoffTarget();
    ASSERT_GT(std::fabs(effect.currentPreCutoff() - target), 1.0f);
    run(effect, 100);
    EXPECT_EQ(effect.currentPreCutoff(), target);
}

TEST(ShaperModeSwitch, ClearsStateOnlyOnARealChange) {
    ShaperEffect effect(nullptr);
    run(effect, 600);
    ASSERT_NE(effect.preFilterLeftSection().firstState(), 0.0f);
    effect.setParameterValue(PreSwitch, 1.0f);
    settle(effect);
    for (const BiquadFilter* f :
         {&effect.preFilterLeftSection(), &effect.preFilterRightSection()}) {
        EXPECT_EQ(f->highPassMode(), 1);
        EXPECT_EQ(f->firstState(), 0.0f);
        EXPECT_LT(f->coefficientA1(), 0.0f);
    }
    EXPECT_EQ(effect.postFilterLeftSection().highPassMode(), 0);
    EXPECT_NE(effect.postFilterLeftSection().firstState(), 0.0f);
    run(effect, 100);
    const float kept = effect.preFilterLeftSection().firstState();
    ASSERT_NE(kept, 0.0f);
    effect.setParameterValue(PreSwitch, 0.7f); // still high-pass
    settle(effect);
    EXPECT_EQ(effect.preFilterLeftSection().firstState(), kept);
}

TEST(ShaperModeSwitch, BackAndForthBeforeProcessingStillClears) {
    ShaperEffect effect(nullptr);
    run(effect, 600);
    effect.setParameterValue(PostSwitch, 1.0f);
    effect.setParameterValue(PostSwitch, 0.0f);
    settle(effect);
    EXPECT_EQ(effect.postFilterRightSection().highPassMode(), 0);
    EXPECT_EQ(effect.postFilterRightSection().firstState(), 0.0f);
}

TEST(ShaperSuspend, ClearsEveryFilterStateAndNothingElse) {
    ShaperEffect effect(nullptr);
    run(effect, 3000);
    const float cutoff = effect.currentPreCutoff();
    effect.dispatch(OpSuspendResume, 0, 0, nullptr, 0.0f);
    settle(effect);
    for (const BiquadFilter* f :
         {&effect.preFilterLeftSection(), &effect.preFilterRightSection(),
          &effect.postFilterLeftSection(), &effect.postFilterRightSection()}) {
        EXPECT_EQ(f->firstState(), 0.0f);
        EXPECT_EQ(f->secondState(), 0.0f);
    }
    EXPECT_EQ(effect.currentPreCutoff(), cutoff);
}

TEST(ShaperSampleRate, FollowsTheHostAndReaimsBothRamps) {
    ShaperEffect effect(nullptr);
    run(effect, 12000);
    const float b1 = effect.preFilterLeftSection().coefficientB1();
    effect.dispatch(OpSetSampleRate, 0, 0, nullptr, 96000.0f);
    EXPECT_EQ(effect.currentSampleRate(), 96000.0f);
    EXPECT_EQ(effect.currentPreCutoffTarget(), 9600.0f);
    EXPECT_EQ(effect.currentPostCutoffTarget(), 9600.0f);
    settle(effect);
    // Coefficients change with the next ramp step, not with the rate.
    EXPECT_EQ(effect.preFilterLeftSection().coefficientB1(), b1);
    EXPECT_EQ(effect.postFilterRightSection().currentRadiansPerHertz(),
              static_cast<float>(std::numbers::pi / 96000.0));
    run(effect, 1, 1);
    const BiquadCoefficients expected = BiquadFilter::computeCoefficients(
        effect.currentPreCutoff(), static_cast<float>(std::numbers::pi / 96000.0), 0);
    EXPECT_EQ(effect.preFilterLeftSection().coefficientB1(), expected.b1);
}

TEST(ShaperSampleRate, UnusableRatesAreIgnored) {
    ShaperEffect effect(nullptr);
    for (const float rate : {0.0f, -48000.0f, NAN, INFINITY}) {
        effect.changeSampleRate(rate);
        effect.dispatch(43, 0, 512, nullptr, rate);
    }
    EXPECT_EQ(effect.currentSampleRate(), 44100.0f);
    EXPECT_EQ(effect.currentPreCutoffTarget(), 4410.0f);
}

// Dropping from 96 kHz to 22.05 kHz while the cutoff sits at 38.4 kHz: the
// ramp down starts far above half the new rate. The filters stay stable.
TEST(ShaperSampleRate, FallingRateNeverMakesAFilterUnstable) {
    ShaperEffect effect(nullptr);
    effect.changeSampleRate(96000.0f);
    effect.setParameterValue(PreFilter, 1.0f);
    effect.setParameterValue(PostFilter, 1.0f);
    effect.setParameterValue(PostSwitch, 1.0f);
    run(effect, 20000);
    effect.changeSampleRate(22050.0f);
    StereoBuffers in(256);
    StereoBuffers out(256);
    for (int block = 0; block < 100; ++block) {
        for (int i = 0; i < 256; ++i) {
            in.left[static_cast<std::size_t>(i)] = (i % 2 != 0) ? 0.9f : -0.9f;
            in.right[static_cast<std::size_t>(i)] = 0.5f;
        }
        effect.processOverwriting(in.channels(), out.channels(), 256);
        for (int i = 0; i < 256; ++i) {
            ASSERT_LE(std::fabs(out.left[static_cast<std::size_t>(i)]), 4.0f);
            ASSERT_LE(std::fabs(out.right[static_cast<std::size_t>(i)]), 4.0f);
        }
    }
}

} // namespace

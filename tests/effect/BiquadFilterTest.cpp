#include "effect/BiquadFilter.h"
#include "effect/StereoSection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

namespace {

constexpr float Rate44k = 44100.0f;

float radiansPerHertz(float rate) {
    return static_cast<float>(std::numbers::pi / rate);
}

// One sample through `filter` by the effect's section, in both lanes.
float runOne(BiquadFilter& filter, double x) {
    StereoSection section(filter, filter);
    const double y = section.run(lanes::Double2{x, x})[0];
    section.storeState(filter, filter);
    return static_cast<float>(y);
}

TEST(BiquadFilterDesign, NewFilterIsLowPassAt1000HzWithUnityDcGain) {
    BiquadFilter filter;
    EXPECT_NEAR(filter.coefficientA0(), 0.004604, 1e-6);
    EXPECT_NEAR(filter.coefficientA1(), 0.009208, 1e-6);
    EXPECT_NEAR(filter.coefficientA2(), 0.004604, 1e-6);
    EXPECT_NEAR(filter.coefficientB1(), -1.799097, 1e-6);
    EXPECT_NEAR(filter.coefficientB2(), 0.817512, 1e-6);
    const double dcGain =
        (filter.coefficientA0() + filter.coefficientA1() + filter.coefficientA2()) /
        (1.0 + filter.coefficientB1() + filter.coefficientB2());
    EXPECT_NEAR(dcGain, 1.0, 1e-5);
}

TEST(BiquadFilterDesign, HighPassAt1000HzSharesThePoles) {
    BiquadFilter lowPass;
    BiquadFilter filter;
    filter.setHighPass(1);
    EXPECT_NEAR(filter.coefficientA0(), 0.904152, 1e-6);
    EXPECT_NEAR(filter.coefficientA1(), -1.808304, 1e-6);
    EXPECT_NEAR(filter.coefficientA2(), 0.904152, 1e-6);
    EXPECT_NEAR(filter.coefficientB1(), lowPass.coefficientB1(), 1e-6);
    EXPECT_NEAR(filter.coefficientB2(), lowPass.coefficientB2(), 1e-6);
}

TEST(BiquadFilterDesign, LowPassAt4410Hz) {
    const BiquadCoefficients c =
        BiquadFilter::computeCoefficients(4410.0f, radiansPerHertz(Rate44k), 0);
    EXPECT_NEAR(c.a0, 0.067455, 1e-6);
    EXPECT_NEAR(c.b1, -1.142981, 1e-6);
    EXPECT_NEAR(c.b2, 0.412802, 1e-6);
}

// Whatever cutoff and rate arrive, the section stays stable: its impulse
// response dies away instead of growing or turning non-finite. This covers
// cutoffs at or above half the rate and the 10 Hz floor at very high rates,
// where float32 rounding alone would put a pole on the unit circle.
TEST(BiquadFilterDesign, NoCutoffOrRateMakesTheSectionUnstable) {
    const float cutoffs[] = {22050.0f, 30000.0f, 38400.0f, 1.0e9f, INFINITY, NAN,
                             0.0f,     1.0e-6f,  10.0f,    12.0f,  0.5f};
    for (const float rate : {8000.0f, 44100.0f, 192000.0f, 384000.0f, 768000.0f, 1.0e7f}) {
        for (const std::int32_t mode : {0, 1}) {
            for (const float cutoff : cutoffs) {
                const BiquadCoefficients c =
                    BiquadFilter::computeCoefficients(cutoff, radiansPerHertz(rate), mode);
                // Stability triangle of a second-order section.
                const double b1 = c.b1;
                const double b2 = c.b2;
                EXPECT_LT(std::fabs(b2), 1.0) << cutoff << " Hz at " << rate;
                EXPECT_LT(std::fabs(b1), 1.0 + b2) << cutoff << " Hz at " << rate;
            }
        }
    }
    BiquadFilter filter;
    filter.setCutoff(30000.0f);
    double last = runOne(filter, 1.0);
    for (int i = 0; i < 2000; ++i) {
        last = runOne(filter, 0.0);
    }
    EXPECT_LT(std::fabs(last), 1e-6);
}

// Each lane is the direct form II of its own filter, bit for bit: w = x -
// b1 s1 - b2 s2 and y = a0 w + a1 s1 + a2 s2 in double, state and output
// rounded to float32.
TEST(StereoSectionRecursion, EachLaneRunsItsOwnFilterExactly) {
    BiquadFilter left;
    BiquadFilter right;
    right.setSampleRate(48000.0f);
    right.setHighPass(1);
    right.setCutoff(5000.0f);
    StereoSection section(left, right);
    std::mt19937 random(1);
    std::uniform_real_distribution<float> noise(-1.5f, 1.5f);
    float state[2][2] = {};
    for (int i = 0; i < 500; ++i) {
        const double x[2] = {noise(random), noise(random)};
        const lanes::Double2 y = section.run(lanes::Double2{x[0], x[1]});
        for (int lane = 0; lane < 2; ++lane) {
            const BiquadCoefficients c = (lane == 0 ? left : right).coefficients();
            float* s = state[lane];
            const double w =
                x[lane] - c.b1 * static_cast<double>(s[0]) - c.b2 * static_cast<double>(s[1]);
            const double expected =
                c.a0 * w + c.a1 * static_cast<double>(s[0]) + c.a2 * static_cast<double>(s[1]);
            s[1] = s[0];
            s[0] = static_cast<float>(w);
            ASSERT_EQ(y[lane], static_cast<double>(static_cast<float>(expected)))
                << "lane " << lane << ", sample " << i;
        }
    }
    section.storeState(left, right);
    EXPECT_EQ(left.firstState(), state[0][0]);
    EXPECT_EQ(right.secondState(), state[1][1]);
}

TEST(BiquadFilterState, ModeSwitchClearsOnlyOnARealChange) {
    BiquadFilter filter;
    filter.setState(0.5f, 0.25f);
    filter.setHighPass(0); // same mode: nothing happens
    EXPECT_NE(filter.firstState(), 0.0f);
    filter.setHighPass(1);
    EXPECT_EQ(filter.firstState(), 0.0f);
    EXPECT_EQ(filter.secondState(), 0.0f);
    EXPECT_EQ(filter.highPassMode(), 1);
}

TEST(BiquadFilterState, SampleRateChangeKeepsCoefficientsUntilRecomputed) {
    BiquadFilter filter;
    const float before = filter.coefficientB1();
    filter.setSampleRate(96000.0f);
    EXPECT_EQ(filter.coefficientB1(), before);
    filter.setHighPass(1);
    const BiquadCoefficients expected =
        BiquadFilter::computeCoefficients(1000.0f, radiansPerHertz(96000.0f), 1);
    EXPECT_EQ(filter.coefficientB1(), expected.b1);
}

TEST(BiquadFilterState, CutoffNotAboveZeroBypasses) {
    for (const float cutoff : {0.0f, -20.0f, NAN}) {
        BiquadFilter lowPass;
        lowPass.setCutoff(cutoff);
        BiquadFilter highPass;
        highPass.setHighPass(1);
        highPass.setCutoff(cutoff);
        for (const double x : {0.75, -0.3, 0.1}) {
            EXPECT_EQ(runOne(lowPass, x), 0.0f) << cutoff;
            EXPECT_EQ(runOne(highPass, x), static_cast<float>(x)) << cutoff;
        }
    }
}

TEST(StereoSectionRecursion, OverflowingStateIsClearedNotKept) {
    BiquadFilter filter;
    StereoSection section(filter, filter);
    // A constant input near the float32 limit: the state builds up to about 54
    // times the input and overflows on the second sample.
    section.run(lanes::broadcast(3.0e38));
    section.run(lanes::broadcast(3.0e38));
    section.clearNonFiniteState();
    section.storeState(filter, filter);
    EXPECT_EQ(filter.firstState(), 0.0f);
    EXPECT_EQ(filter.secondState(), 0.0f);
    // A stored state that is not finite starts over.
    filter.setState(NAN, 1.0f);
    BiquadFilter fresh;
    EXPECT_EQ(runOne(filter, 0.5), runOne(fresh, 0.5));
}

} // namespace

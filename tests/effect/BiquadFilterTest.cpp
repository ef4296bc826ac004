#include "effect/BiquadFilter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

constexpr float Rate44k = 44100.0f;

float radiansPerHertz(float rate) {
    return static_cast<float>(std::numbers::pi / rate);
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
    double last = filter.process(1.0);
    for (int i = 0; i < 2000; ++i) {
        last = filter.process(0.0);
    }
    EXPECT_LT(std::fabs(last), 1e-6);
}

TEST(BiquadFilterState, ModeSwitchClearsOnlyOnARealChange) {
    BiquadFilter filter;
    filter.process(1.0);
    filter.process(0.5);
    ASSERT_NE(filter.firstState(), 0.0f);
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
    BiquadFilter lowPass;
    lowPass.setCutoff(0.0f);
    EXPECT_EQ(lowPass.process(0.75), 0.0f);
    BiquadFilter highPass;
    highPass.setHighPass(1);
    highPass.setCutoff(0.0f);
    EXPECT_EQ(highPass.process(0.75), 0.75f);
    EXPECT_EQ(highPass.firstState(), 0.0f);
}

TEST(BiquadFilterState, OverflowingStateIsClearedNotKept) {
    BiquadFilter filter;
    // A constant input near the float32 limit: the state builds up to about 54
    // times the input and overflows on the second sample.
    filter.process(3.0e38);
    filter.process(3.0e38);
    EXPECT_EQ(filter.firstState(), 0.0f);
    EXPECT_EQ(filter.secondState(), 0.0f);
    filter.setState(NAN, 1.0f);
    BiquadKernel kernel(filter);
    kernel.sanitizeState();
    EXPECT_EQ(kernel.state1, 0.0);
    EXPECT_EQ(kernel.state2, 0.0);
    EXPECT_TRUE(std::isfinite(kernel.run(0.5)));
}

} // namespace

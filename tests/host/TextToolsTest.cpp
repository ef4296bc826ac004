#include "host/ExtendedEffect.h"

#include <gtest/gtest.h>

#include <cmath>

#include <cstring>
#include <string>

namespace {

class Formatter : public ExtendedEffect {
  public:
    Formatter() : ExtendedEffect(nullptr, 1, 1) {}
    void processAdding(float**, float**, std::int32_t) override {}

    // Each call gets a fresh buffer filled with a marker so that an overrun
    // past the ninth byte shows up.
    template <typename Tool, typename Value> std::string format(Tool tool, Value value) {
        char buffer[32];
        std::memset(buffer, '#', sizeof buffer);
        (this->*tool)(value, buffer);
        EXPECT_EQ(buffer[9], '#') << "wrote past the terminator";
        EXPECT_LE(std::strlen(buffer), 8u);
        return buffer;
    }
    std::string floatText(float v) { return format(&EffectBase::floatToText, v); }
    std::string decibels(float v) { return format(&EffectBase::decibelsToText, v); }
    std::string integer(std::int32_t v) { return format(&EffectBase::integerToText, v); }
    std::string hertz(float v) { return format(&EffectBase::samplesToHertzText, v); }
    std::string millis(float v) { return format(&EffectBase::samplesToMillisecondsText, v); }
};

TEST(FloatToText, FixedPointPaddedToEightCharacters) {
    Formatter f;
    EXPECT_EQ(f.floatText(0.0f), "0.000000");
    EXPECT_EQ(f.floatText(0.001f), "0.001000");
    EXPECT_EQ(f.floatText(1.5f), "1.500000");
    EXPECT_EQ(f.floatText(-3.25f), "-3.25000");
    EXPECT_EQ(f.floatText(4410.0f), "4410.000");
    EXPECT_EQ(f.floatText(1234567.0f), "1234567.");
}

TEST(FloatToText, LastDigitIsTruncatedNotRounded) {
    Formatter f;
    EXPECT_EQ(f.floatText(123.456f), "123.4560");
    EXPECT_EQ(f.floatText(0.99999f), "0.999989");
}

TEST(FloatToText, OverflowShowsHuge) {
    Formatter f;
    EXPECT_EQ(f.floatText(100000000.0f), " Huge!  ");
    EXPECT_EQ(f.floatText(-10000000.0f), " Huge!  ");
    EXPECT_EQ(f.floatText(1e30f), " Huge!  ");
}

TEST(FloatToText, WideIntegerPartsStayWithinEightCharacters) {
    Formatter f;
    EXPECT_EQ(f.floatText(12345678.0f), "12345678");
    EXPECT_EQ(f.floatText(-1234567.0f), "-1234567");
    EXPECT_EQ(f.floatText(99999999.0f).size(), 8u);
    EXPECT_EQ(f.floatText(-9999999.0f), "-9999999");
}

TEST(DecibelsToText, GainsAndSilence) {
    Formatter f;
    EXPECT_EQ(f.decibels(1.0f), "0.000000");
    EXPECT_EQ(f.decibels(2.0f), "6.020599");
    EXPECT_EQ(f.decibels(0.5f), "-6.02059");
    EXPECT_EQ(f.decibels(0.0f), "  -oo   ");
    EXPECT_EQ(f.decibels(-1.0f), "  -oo   ");
    EXPECT_EQ(f.decibels(std::nanf("")), "  -oo   ");
}

TEST(IntegerToText, RightAlignedAndBounded) {
    Formatter f;
    EXPECT_EQ(f.integer(42), "     42");
    EXPECT_EQ(f.integer(-5), "     -5");
    EXPECT_EQ(f.integer(99999999), "99999999");
    EXPECT_EQ(f.integer(100000000), " Huge!  ");
    EXPECT_EQ(f.integer(-123456789), "-1234567");
}

TEST(SampleTexts, FollowTheSampleRate) {
    Formatter f;
    EXPECT_EQ(f.hertz(0.0f), "0.000000");
    EXPECT_EQ(f.hertz(441.0f), "100.0000");
    EXPECT_EQ(f.millis(441.0f), "10.00000");
    f.changeSampleRate(48000.0f);
    EXPECT_EQ(f.hertz(480.0f), "100.0000");
    EXPECT_EQ(f.millis(48.0f), "1.000000");
}

} // namespace

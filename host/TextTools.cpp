// Parameter display texts: every tool writes at most eight characters and the
// terminating zero into the caller's buffer.

#include "host/EffectBase.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

constexpr const char* HugeText = " Huge!  ";
constexpr const char* MinusInfinityText = "  -oo   ";

void copyText(char* text, const char* source) {
    std::memcpy(text, source, DisplayTextLength);
    text[DisplayTextLength] = '\0';
}

char digitOf(double value) {
    return static_cast<char>('0' + static_cast<int>(std::trunc(std::fmod(value, 10.0))));
}

} // namespace

void EffectBase::decibelsToText(float gain, char* text) {
    if (gain > 0.0f)
        floatToText(static_cast<float>(20.0 * std::log10(static_cast<double>(gain))), text);
    else
        copyText(text, MinusInfinityText);
}

void EffectBase::samplesToHertzText(float samples, char* text) {
    if (samples == 0.0f)
        floatToText(0.0f, text);
    else
        floatToText(currentSampleRate() / samples, text);
}

void EffectBase::samplesToMillisecondsText(float samples, char* text) {
    floatToText(static_cast<float>(samples * 1000.0 / currentSampleRate()), text);
}

void EffectBase::integerToText(std::int32_t value, char* text) {
    if (value >= 100000000) {
        copyText(text, HugeText);
        return;
    }
    char formatted[16] = {};
    std::snprintf(formatted, sizeof formatted, "%7d", static_cast<int>(value));
    std::memcpy(text, formatted, DisplayTextLength);
    text[DisplayTextLength] = '\0';
}

// A fixed-point number with one decimal point, padded with fraction digits to
// eight characters; the last digit is truncated, not rounded.
void EffectBase::floatToText(float value, char* text) {
    bool negative = value < 0.0f;
    double v = std::fabs(static_cast<double>(value));
    if (std::isnan(v) || (negative && v > 9999999.0) || (!negative && v > 99999999.0)) {
        copyText(text, HugeText);
        return;
    }
    int count = negative ? 1 : 0;

    // Integer part, right to left, into a scratch buffer ending in ".".
    char scratch[DisplayTextLength + 2];
    int start = DisplayTextLength;
    scratch[start] = '.';
    scratch[start + 1] = '\0';
    double integ = std::floor(v);
    scratch[--start] = digitOf(integ);
    count += 2;
    integ *= 0.1;
    while (integ >= 1.0 && count < DisplayTextLength) {
        scratch[--start] = digitOf(integ);
        ++count;
        integ *= 0.1;
    }
    if (integ >= 1.0) {
        // The integer part does not fit beside the point: show all its digits
        // without one (eight digits, or a sign and seven).
        char formatted[24] = {};
        std::snprintf(formatted, sizeof formatted, "%s%.0f", negative ? "-" : "", std::floor(v));
        std::memcpy(text, formatted, DisplayTextLength);
        text[DisplayTextLength] = '\0';
        return;
    }
    if (negative)
        scratch[--start] = '-';
    std::strcpy(text, scratch + start);

    if (count < DisplayTextLength) {
        int n = DisplayTextLength - count;
        double m = std::fmod(v, 1.0) * std::pow(10.0, n);
        char* end = text + std::strlen(text);
        for (int i = n - 1; i >= 0; --i) {
            if (m <= 0.0) {
                end[i] = '0';
            } else {
                end[i] = digitOf(m);
                m *= 0.1;
            }
        }
        end[n] = '\0';
    }
}

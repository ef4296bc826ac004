#include "effect/BiquadFilter.h"

#include <cmath>
#include <numbers>

namespace {

// sqrt(2) as the float32 the design uses.
constexpr double Sqrt2 = static_cast<double>(1.4142135f);

// Bounds of the prewarping angle pi * f / rate. Above 0.45 pi the section
// nears the pole of tan at half the rate; below 1e-5 the float32 feedback
// coefficients round to a double pole on the unit circle. Real rates and the
// 10 Hz .. 0.4 * rate cutoffs of the effect stay well inside.
constexpr double MaxAngle = 0.45 * std::numbers::pi;
constexpr double MinAngle = 1.0e-5;

// Rounding to float32 can put a pole of a very low cutoff (relative to the
// rate) on or outside the unit circle: near 10 Hz at 384 kHz the DC pole
// lands exactly on 1. Such feedback pairs are moved, one float32 step at a
// time, back inside the stability triangle; all others are left untouched.
// Only angles below this can come close (the DC margin shrinks as the square
// of the angle; at the top, 0.45 pi, the margins are wide).
constexpr double FragileAngle = 1.0e-3;

void keepFeedbackStable(BiquadCoefficients& c) {
    if (!(c.b2 < 1.0f)) {
        c.b2 = std::nextafter(1.0f, 0.0f);
    }
    for (int step = 0; step < 64; ++step) {
        const double b1 = c.b1;
        const double b2 = c.b2;
        if (1.0 + b1 + b2 > 0.0 && 1.0 - b1 + b2 > 0.0) {
            break;
        }
        c.b1 = std::nextafter(c.b1, 0.0f);
    }
}

} // namespace

BiquadFilter::BiquadFilter() : radiansPerHertz(static_cast<float>(std::numbers::pi / InitialRate)) {
    recompute();
}

BiquadCoefficients BiquadFilter::computeCoefficients(float cutoff, float radiansPerHertz,
                                                     std::int32_t highPass) {
    if (!(cutoff > 0.0f)) {
        return {highPass != 0 ? 1.0f : 0.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    }
    double omega = static_cast<double>(cutoff) * static_cast<double>(radiansPerHertz);
    if (!(omega <= MaxAngle)) {
        omega = MaxAngle; // also catches infinity and a rate that is not a number
    }
    if (!(omega >= MinAngle)) {
        omega = MinAngle;
    }
    // The C runtime's tangent: glibc's, or msvcrt.dll's on Windows. Those
    // of glibc and of wine's 32- and 64-bit msvcrt.dll differ in the last
    // bit for 1 to 4 % of angles; the float32 rounding of the coefficients
    // absorbed that for all of 9.4 million cutoffs tried (six rates from
    // 22050 to 192000 Hz, 10 Hz to 0.4 times the rate).
    const double tangent = std::tan(omega);
    const double k = highPass != 0 ? tangent : 1.0 / tangent;
    const double c = 1.0 / ((k + Sqrt2) * k + 1.0);
    const double kSquared = k * k;
    BiquadCoefficients result;
    result.a0 = static_cast<float>(c);
    result.a1 = static_cast<float>(highPass != 0 ? -2.0 * c : 2.0 * c);
    result.a2 = static_cast<float>(c);
    result.b1 =
        static_cast<float>(highPass != 0 ? 2.0 * c * (kSquared - 1.0) : 2.0 * c * (1.0 - kSquared));
    result.b2 = static_cast<float>(c * (1.0 - Sqrt2 * k + kSquared));
    if (omega < FragileAngle) {
        keepFeedbackStable(result);
    }
    return result;
}

void BiquadFilter::setSampleRate(float rate) {
    radiansPerHertz = static_cast<float>(std::numbers::pi / static_cast<double>(rate));
}

void BiquadFilter::setHighPass(std::int32_t mode) {
    if (mode == highPass) {
        return;
    }
    highPass = mode;
    clearState();
    recompute();
}

void BiquadFilter::resetMode(std::int32_t mode, float radiansPerHertzAtSwitch) {
    highPass = mode;
    clearState();
    assignCoefficients(computeCoefficients(cutoff, radiansPerHertzAtSwitch, mode), cutoff);
}

void BiquadFilter::setCutoff(float hertz) {
    cutoff = hertz;
    recompute();
}

void BiquadFilter::assignCoefficients(const BiquadCoefficients& coefficients, float hertz) {
    a0 = coefficients.a0;
    a1 = coefficients.a1;
    a2 = coefficients.a2;
    b1 = coefficients.b1;
    b2 = coefficients.b2;
    cutoff = hertz;
}

void BiquadFilter::recompute() {
    assignCoefficients(computeCoefficients(cutoff, radiansPerHertz, highPass), cutoff);
}

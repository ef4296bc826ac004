#pragma once
// The curves of the test plug-ins, and what a sine makes of them.

#include <algorithm>
#include <cmath>
#include <numbers>

constexpr int ClipDelay = 7;
constexpr float ClipLevel = 0.5f;

inline float clipCurve(float x) {
    return std::clamp(x, -ClipLevel, ClipLevel);
}

inline float cubicCurve(float x) {
    return x - x * x * x / 3.0f;
}

// a sin t through the cubic: (a - a^3/4) sin t + (a^3/12) sin 3t.
inline double cubicFundamental(double a) {
    return a - a * a * a / 4.0;
}
inline double cubicThird(double a) {
    return a * a * a / 12.0;
}

// a sin t (a > c) clipped at c: the sine series' first and third terms,
// from the quarter period, where the sine reaches c at t = asin(c / a).
inline double clipFundamental(double a, double c) {
    const double t = std::asin(c / a);
    return 2.0 * a / std::numbers::pi * (t + std::sin(t) * std::cos(t));
}
inline double clipThird(double a, double c) {
    const double t = std::asin(c / a);
    return 4.0 / std::numbers::pi *
           (a * (std::sin(2 * t) / 4.0 - std::sin(4 * t) / 8.0) + c * std::cos(3 * t) / 3.0);
}

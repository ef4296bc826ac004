#pragma once
// StereoSection: the left and right BiquadFilter of a pair run as the two
// lanes of one vector, lane 0 left and lane 1 right. This is the filter
// recursion of the effect, the only one: direct form II, the state and the
// output rounded to float32. Each lane does exactly the scalar arithmetic (no
// fused or reordered operations), so a lane gives what one filter run on its
// own would give.
//
// The section works on copies of the filters' coefficients and state, kept
// in registers by the audio loops; storeState hands the state back.

#include "effect/BiquadFilter.h"

#include <cstdint>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Where a target has no vector unit the compiler lowers these types to scalar
// code and notes that such vectors would be passed differently across calls;
// they never cross a call that is not inlined.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpsabi"

// Two-lane values and the few exact operations on them that the section and
// the audio loops share.
namespace lanes {

using Double2 = double __attribute__((vector_size(16)));
using Float2 = float __attribute__((vector_size(8)));
using Mask2 = decltype(Double2{} < Double2{});

constexpr float MaxFloat = std::numeric_limits<float>::max();
constexpr Double2 Zero = {0.0, 0.0};
constexpr Double2 Largest = {MaxFloat, MaxFloat};
constexpr Mask2 SignBits = {std::numeric_limits<std::int64_t>::min(),
                            std::numeric_limits<std::int64_t>::min()};

constexpr Double2 broadcast(double value) {
    return Double2{value, value};
}

VARNEX_ALWAYS_INLINE Double2 roundToFloat(Double2 value) {
#if defined(__SSE2__)
    return reinterpret_cast<Double2>(_mm_cvtps_pd(_mm_cvtpd_ps(reinterpret_cast<__m128d>(value))));
#else
    return __builtin_convertvector(__builtin_convertvector(value, Float2), Double2);
#endif
}

VARNEX_ALWAYS_INLINE Double2 magnitudeOf(Double2 value) {
    return reinterpret_cast<Double2>(reinterpret_cast<Mask2>(value) & ~SignBits);
}

// Lanes holding a value of float32 range (not infinite, not NaN).
VARNEX_ALWAYS_INLINE Mask2 finiteLanes(Double2 value) {
    return magnitudeOf(value) <= Largest;
}

} // namespace lanes

struct StereoSection {
    using Double2 = lanes::Double2;

    // A state that is not finite (however it came about) starts over.
    StereoSection(const BiquadFilter& left, const BiquadFilter& right)
        : a0{left.coefficientA0(), right.coefficientA0()},
          a1{left.coefficientA1(), right.coefficientA1()}, a2{left.coefficientA2(),
                                                              right.coefficientA2()},
          b1{left.coefficientB1(), right.coefficientB1()}, b2{left.coefficientB2(),
                                                              right.coefficientB2()},
          state1{left.firstState(), right.firstState()}, state2{left.secondState(),
                                                                right.secondState()} {
        const lanes::Mask2 finite = lanes::finiteLanes(state1) & lanes::finiteLanes(state2);
        state1 = finite ? state1 : lanes::Zero;
        state2 = finite ? state2 : lanes::Zero;
    }

    void storeState(BiquadFilter& left, BiquadFilter& right) const {
        left.setState(static_cast<float>(state1[0]), static_cast<float>(state2[0]));
        right.setState(static_cast<float>(state1[1]), static_cast<float>(state2[1]));
    }

    // Both lanes take the same coefficients (a pair's ramp step).
    VARNEX_ALWAYS_INLINE void setCoefficients(const BiquadCoefficients& c) {
        a0 = lanes::broadcast(c.a0);
        a1 = lanes::broadcast(c.a1);
        a2 = lanes::broadcast(c.a2);
        b1 = lanes::broadcast(c.b1);
        b2 = lanes::broadcast(c.b2);
    }

    // One sample per lane. The state is not checked here: a caller that can
    // feed values near the float32 limit calls clearNonFiniteState before
    // the state is used for an output that matters.
    VARNEX_ALWAYS_INLINE Double2 run(Double2 x) {
        const Double2 w = x - b1 * state1 - b2 * state2;
        const Double2 y = a0 * w + a1 * state1 + a2 * state2;
        state2 = state1;
        state1 = lanes::roundToFloat(w);
        return lanes::roundToFloat(y);
    }

    // A state that overflowed float32 is cleared rather than kept, so a
    // single huge input cannot leave the section non-finite.
    VARNEX_ALWAYS_INLINE void clearNonFiniteState() {
        const lanes::Mask2 finite = lanes::finiteLanes(state1);
        state1 = finite ? state1 : lanes::Zero;
        state2 = finite ? state2 : lanes::Zero;
    }

    Double2 a0, a1, a2, b1, b2;
    Double2 state1, state2;
};

#pragma GCC diagnostic pop

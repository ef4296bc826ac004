// The two audio entries and their frame loops.

#include "effect/FlushDenormals.h"
#include "effect/ShaperEffect.h"

#include <cmath>
#include <limits>

namespace {

// Both channels run the same chain on different data, so the loop carries
// them as the two lanes of one vector: lane 0 left, lane 1 right. Each lane
// does exactly the scalar arithmetic (no fused or reordered operations), so
// the results are those of a channel-by-channel loop. Where the target has no
// vector unit the compiler lowers these types to scalar code.
// Without SSE (x87 builds) GCC notes that such vectors would be passed
// differently across calls; they never cross this file's boundary.
#pragma GCC diagnostic ignored "-Wpsabi"
using Double2 = double __attribute__((vector_size(16)));
using Float2 = float __attribute__((vector_size(8)));
using Int2 = std::int32_t __attribute__((vector_size(8)));

constexpr float MaxFloat = std::numeric_limits<float>::max();
constexpr double Infinity = std::numeric_limits<double>::infinity();
constexpr Double2 Zero = {0.0, 0.0};
constexpr Double2 One = {1.0, 1.0};
constexpr Double2 MinusOne = {-1.0, -1.0};
constexpr Double2 Largest = {MaxFloat, MaxFloat};
constexpr Double2 Smallest = {-MaxFloat, -MaxFloat};

constexpr Double2 broadcast(double value) {
    return Double2{value, value};
}

VARNEX_ALWAYS_INLINE Double2 roundToFloat(Double2 value) {
    return __builtin_convertvector(__builtin_convertvector(value, Float2), Double2);
}

// A sample the host hands us that is not finite is taken as silence, in the
// processed and in the dry path alike. The same goes for what processAdding
// finds in the output buffers.
VARNEX_ALWAYS_INLINE Double2 finiteOrSilence(Double2 value) {
    return (value <= Largest) & (value >= Smallest) ? value : Zero;
}

// What a result becomes when it does not fit a float32: 0 for NaN, the
// largest float of its sign on overflow.
[[gnu::cold]] float repairOutput(double value) {
    if (std::isnan(value)) {
        return 0.0f;
    }
    if (value > MaxFloat) {
        return MaxFloat;
    }
    return value < -MaxFloat ? -MaxFloat : static_cast<float>(value);
}

VARNEX_ALWAYS_INLINE void storeFrame(Double2 value, float& left, float& right) {
    const Float2 rounded = __builtin_convertvector(value, Float2);
    const Double2 widened = __builtin_convertvector(rounded, Double2);
    if ((widened[0] <= MaxFloat) & (widened[0] >= -MaxFloat) & (widened[1] <= MaxFloat) &
        (widened[1] >= -MaxFloat)) {
        left = rounded[0];
        right = rounded[1];
    } else {
        left = repairOutput(value[0]);
        right = repairOutput(value[1]);
    }
}

// The left and right filters of a pair as one two-lane section: the direct
// form II of BiquadFilter, state and output rounded to float32.
struct StereoSection {
    StereoSection(const BiquadFilter& left, const BiquadFilter& right)
        : a0{left.coefficientA0(), right.coefficientA0()}, a1{left.coefficientA1(),
                                                              right.coefficientA1()},
          a2{left.coefficientA2(), right.coefficientA2()}, b1{left.coefficientB1(),
                                                              right.coefficientB1()},
          b2{left.coefficientB2(), right.coefficientB2()}, state1{left.firstState(),
                                                                  right.firstState()},
          state2{left.secondState(), right.secondState()}, active{left.currentCutoff() > 0.0f,
                                                                  right.currentCutoff() > 0.0f},
          highPass{left.highPassMode() != 0, right.highPassMode() != 0} {
        // A state that is not finite (however it came about) starts over.
        const Double2 finite1 = finiteOrSilence(state1);
        const Double2 finite2 = finiteOrSilence(state2);
        for (int lane = 0; lane < 2; ++lane) {
            if (finite1[lane] != state1[lane] || finite2[lane] != state2[lane]) {
                state1[lane] = 0.0;
                state2[lane] = 0.0;
            }
        }
        bothActive = active[0] && active[1];
    }

    void storeState(BiquadFilter& left, BiquadFilter& right) const {
        left.setState(static_cast<float>(state1[0]), static_cast<float>(state2[0]));
        right.setState(static_cast<float>(state1[1]), static_cast<float>(state2[1]));
    }

    VARNEX_ALWAYS_INLINE void setCoefficients(const BiquadCoefficients& c, float cutoff) {
        a0 = broadcast(c.a0);
        a1 = broadcast(c.a1);
        a2 = broadcast(c.a2);
        b1 = broadcast(c.b1);
        b2 = broadcast(c.b2);
        active[0] = active[1] = bothActive = cutoff > 0.0f;
    }

    VARNEX_ALWAYS_INLINE Double2 run(Double2 x) {
        if (!bothActive) {
            return runBypassing(x);
        }
        const Double2 w = x - b1 * state1 - b2 * state2;
        const Double2 y = a0 * w + a1 * state1 + a2 * state2;
        state2 = state1;
        state1 = roundToFloat(w);
        // A state that overflows float32 is cleared rather than kept, so a
        // single huge input cannot leave the section non-finite. Tested off
        // the recursion's critical path: the branch is practically never taken.
        const auto finite = (state1 <= Largest) & (state1 >= Smallest);
        if (__builtin_expect(!(finite[0] & finite[1]), 0)) {
            clearOverflowedLanes(finite[0] != 0, finite[1] != 0);
        }
        return roundToFloat(y);
    }

    [[gnu::cold]] [[gnu::noinline]] void clearOverflowedLanes(bool leftFinite, bool rightFinite) {
        if (!leftFinite) {
            state1[0] = state2[0] = 0.0;
        }
        if (!rightFinite) {
            state1[1] = state2[1] = 0.0;
        }
    }

    // A lane whose cutoff is not above 0 bypasses: low-pass gives silence,
    // high-pass passes the input; its state is left alone.
    [[gnu::noinline]] Double2 runBypassing(Double2 x) {
        Double2 result = Zero;
        for (int lane = 0; lane < 2; ++lane) {
            if (!active[lane]) {
                result[lane] =
                    highPass[lane] ? static_cast<double>(static_cast<float>(x[lane])) : 0.0;
                continue;
            }
            const double w = x[lane] - b1[lane] * state1[lane] - b2[lane] * state2[lane];
            const double y = a0[lane] * w + a1[lane] * state1[lane] + a2[lane] * state2[lane];
            const auto rounded = static_cast<float>(w);
            const bool finite = std::fabs(rounded) <= MaxFloat;
            state2[lane] = finite ? state1[lane] : 0.0;
            state1[lane] = finite ? rounded : 0.0;
            result[lane] = static_cast<float>(y);
        }
        return result;
    }

    Double2 a0, a1, a2, b1, b2;
    Double2 state1, state2;
    bool active[2];
    bool highPass[2];
    bool bothActive = true;
};

struct BlockSettings {
    Double2 preGain;
    Double2 postGain;
    Double2 dry;
    Double2 wet;
    const TransferTable::Entries* table;
};

// shape(x) for x in [0, 1] in each lane: u = x * 1023, k = u truncated,
// table[k] + (u - k) * slope[k].
VARNEX_ALWAYS_INLINE Double2 shapeMagnitudes(const TransferTable::Entries& entries, Double2 x) {
    const Double2 u = x * broadcast(1023.0);
    const Int2 k = __builtin_convertvector(u, Int2);
    const Double2 fraction = u - __builtin_convertvector(k, Double2);
    const auto left = static_cast<std::size_t>(k[0]);
    const auto right = static_cast<std::size_t>(k[1]);
    const Double2 heights = {entries.transferTable[left], entries.transferTable[right]};
    const Double2 slopes = {entries.slopeTable[left], entries.slopeTable[right]};
    return heights + fraction * slopes;
}

// One frame of both channels: pre filter, pre gain, clip, curve, post filter,
// post gain with the limit on the side the sample came from, dry/wet mix.
// Selects rather than branches: the sign of audio changes too often for a
// branch predictor.
VARNEX_ALWAYS_INLINE Double2 processFrame(Double2 x, StereoSection& pre, StereoSection& post,
                                          const BlockSettings& settings) {
    const Double2 s = pre.run(x) * settings.preGain;
    // Clip to [-1, 1]; a sample that is not a number becomes -1.
    Double2 clipped = s > One ? One : s;
    clipped = clipped >= MinusOne ? clipped : MinusOne;
    // The negative branch reads the curve at -s and negates the result.
    const auto negative = clipped < Zero;
    const Double2 magnitude = negative ? -clipped : clipped;
    const Double2 curve = shapeMagnitudes(*settings.table, magnitude);
    const Double2 y = negative ? -curve : curve;
    Double2 w = post.run(y) * settings.postGain;
    // One-sided limit: -1 from below for the negative branch, +1 from above
    // for the positive one.
    const Double2 lowest = negative ? MinusOne : broadcast(-Infinity);
    const Double2 highest = negative ? broadcast(Infinity) : One;
    w = w < lowest ? lowest : w;
    w = w > highest ? highest : w;
    return settings.wet * w + settings.dry * x;
}

// The audio side of a pair's glide during one ramping block.
struct PairRamp {
    float cutoff;
    float target;
    float step;
    float radiansPerHertz;
    std::int32_t mode;
    bool moved = false;
    BiquadCoefficients coefficients{};

    // One step towards the target, as long as more than 1 Hz remains. A step
    // that would pass the target, make no progress (too small for float32 at
    // this cutoff) or lead away from it ends the ramp at the target; normal
    // ramps stop short of it on their own and keep their course.
    VARNEX_ALWAYS_INLINE void advance(StereoSection& section) {
        if (!(std::fabs(cutoff - target) > 1.0f)) {
            return;
        }
        float next = cutoff + step;
        const bool onCourse =
            target > cutoff ? (next > cutoff && next <= target) : (next < cutoff && next >= target);
        if (!onCourse) {
            next = target;
        }
        cutoff = next;
        // Both filters of the pair share cutoff, rate and mode.
        coefficients = BiquadFilter::computeCoefficients(cutoff, radiansPerHertz, mode);
        section.setCoefficients(coefficients, cutoff);
        moved = true;
    }
};

inline bool isRamping(float cutoff, float target) {
    return std::fabs(cutoff - target) > 1.0f;
}

} // namespace

void ShaperEffect::processAdding(float** inputs, float** outputs, std::int32_t frameCount) {
    processBlock<true>(inputs, outputs, frameCount);
}

void ShaperEffect::processOverwriting(float** inputs, float** outputs, std::int32_t frameCount) {
    processBlock<false>(inputs, outputs, frameCount);
}

template <bool Adding>
void ShaperEffect::processBlock(float** inputs, float** outputs, std::int32_t frameCount) {
    [[maybe_unused]] const FlushDenormals flush;
    applyControlChanges();
    if (frameCount <= 0 || inputs == nullptr || outputs == nullptr || inputs[0] == nullptr ||
        inputs[1] == nullptr || outputs[0] == nullptr || outputs[1] == nullptr) {
        return;
    }
    // The loop is chosen once per block; a plain block never looks at the ramps.
    if (isRamping(preRamp.cutoff, preRamp.target) || isRamping(postRamp.cutoff, postRamp.target)) {
        runFrames<Adding, true>(inputs, outputs, frameCount);
    } else {
        runFrames<Adding, false>(inputs, outputs, frameCount);
    }
}

template <bool Adding, bool Ramping>
void ShaperEffect::runFrames(float** inputs, float** outputs, std::int32_t frameCount) {
    const double d = values[ShaperParameter::DryWet].load(Relaxed);
    const BlockSettings settings{broadcast(preGainFactor.load(Relaxed)),
                                 broadcast(postGainFactor.load(Relaxed)), broadcast(d),
                                 broadcast(1.0 - d), &shaperTable.acquireForAudio()};
    StereoSection pre(preFilterLeft, preFilterRight);
    StereoSection post(postFilterLeft, postFilterRight);
    PairRamp preGlide{preRamp.cutoff, preRamp.target, preRamp.step,
                      preFilterLeft.currentRadiansPerHertz(), preFilterLeft.highPassMode()};
    PairRamp postGlide{postRamp.cutoff, postRamp.target, postRamp.step,
                       postFilterLeft.currentRadiansPerHertz(), postFilterLeft.highPassMode()};

    const float* inLeft = inputs[0];
    const float* inRight = inputs[1];
    float* outLeft = outputs[0];
    float* outRight = outputs[1];
    for (std::int32_t i = 0; i < frameCount; ++i) {
        // Both inputs are read before either output is written, so any
        // sharing of buffers between the host's pointers is harmless.
        const Double2 x = finiteOrSilence(Double2{inLeft[i], inRight[i]});
        Double2 result = processFrame(x, pre, post, settings);
        if constexpr (Adding) {
            result = finiteOrSilence(Double2{outLeft[i], outRight[i]}) + result;
        }
        storeFrame(result, outLeft[i], outRight[i]);
        if constexpr (Ramping) {
            preGlide.advance(pre);
            postGlide.advance(post);
        }
    }

    pre.storeState(preFilterLeft, preFilterRight);
    post.storeState(postFilterLeft, postFilterRight);
    if constexpr (Ramping) {
        if (preGlide.moved) {
            preRamp.cutoff = preGlide.cutoff;
            preFilterLeft.assignCoefficients(preGlide.coefficients, preGlide.cutoff);
            preFilterRight.assignCoefficients(preGlide.coefficients, preGlide.cutoff);
            preCutoff.store(preGlide.cutoff, Relaxed);
        }
        if (postGlide.moved) {
            postRamp.cutoff = postGlide.cutoff;
            postFilterLeft.assignCoefficients(postGlide.coefficients, postGlide.cutoff);
            postFilterRight.assignCoefficients(postGlide.coefficients, postGlide.cutoff);
            postCutoff.store(postGlide.cutoff, Relaxed);
        }
    }
}

// The two audio entries and their frame loops.

#include "effect/FlushDenormals.h"
#include "effect/ShaperEffect.h"
#include "effect/StereoSection.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Both channels run the same chain on different data, so the loops carry
// them as the two lanes of one vector (effect/StereoSection.h): lane 0 left,
// lane 1 right, each doing exactly the scalar arithmetic. Where the target
// has no vector unit the compiler notes that such vectors would be passed
// differently across calls, which they never are outside this file.
#pragma GCC diagnostic ignored "-Wpsabi"

using namespace lanes;
using Int2 = std::int32_t __attribute__((vector_size(8)));

constexpr Double2 One = {1.0, 1.0};
constexpr Double2 MinusOne = {-1.0, -1.0};

// Per lane: a < b ? a : b, and a > b ? a : b (so a NaN in `b` is passed on).
VARNEX_ALWAYS_INLINE Double2 lesser(Double2 a, Double2 b) {
#if defined(__SSE2__)
    return reinterpret_cast<Double2>(
        _mm_min_pd(reinterpret_cast<__m128d>(a), reinterpret_cast<__m128d>(b)));
#else
    return a < b ? a : b;
#endif
}
VARNEX_ALWAYS_INLINE Double2 greater(Double2 a, Double2 b) {
#if defined(__SSE2__)
    return reinterpret_cast<Double2>(
        _mm_max_pd(reinterpret_cast<__m128d>(a), reinterpret_cast<__m128d>(b)));
#else
    return a > b ? a : b;
#endif
}

// Flips the sign of the lanes selected by `flip` (exact).
VARNEX_ALWAYS_INLINE Double2 flipSign(Double2 value, Mask2 flip) {
    return reinterpret_cast<Double2>(reinterpret_cast<Mask2>(value) ^ (flip & SignBits));
}

// For values known not to be negative.
VARNEX_ALWAYS_INLINE bool bothWithinRange(Double2 magnitude) {
    const Mask2 inRange = magnitude <= Largest;
#if defined(__SSE2__)
    return _mm_movemask_pd(reinterpret_cast<__m128d>(inRange)) == 3;
#else
    return inRange[0] != 0 && inRange[1] != 0;
#endif
}

// A sample the host hands us that is not finite is taken as silence, in the
// processed and in the dry path alike. The same goes for what processAdding
// finds in the output buffers.
VARNEX_ALWAYS_INLINE Double2 finiteOrSilence(Double2 value) {
    return finiteLanes(value) ? value : Zero;
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
    const auto left = static_cast<std::uint32_t>(k[0]);
    const auto right = static_cast<std::uint32_t>(k[1]);
    Double2 leftEntry;
    Double2 rightEntry;
    std::memcpy(&leftEntry, entries.widened[left].data(), sizeof leftEntry);
    std::memcpy(&rightEntry, entries.widened[right].data(), sizeof rightEntry);
    const Double2 heights = __builtin_shufflevector(leftEntry, rightEntry, 0, 2);
    const Double2 slopes = __builtin_shufflevector(leftEntry, rightEntry, 1, 3);
    return heights + fraction * slopes;
}

// The first half of the chain for one frame of both channels: pre filter,
// pre gain, clip and curve. Returns the curve's output; `negative` marks the
// lanes of the negative branch. Selects rather than branches: the sign of
// audio changes too often for a branch predictor.
VARNEX_ALWAYS_INLINE Double2 shapeFrame(Double2 x, StereoSection& pre,
                                        const BlockSettings& settings, Mask2& negative) {
    const Double2 s = pre.run(x) * settings.preGain;
    // Clip to [-1, 1]; a sample that is not a number becomes -1.
    const Double2 clipped = greater(lesser(One, s), MinusOne);
    // The negative branch reads the curve at -s and negates the result. At
    // -0.0 (positive branch) the curve is read at +0.0 instead, which gives
    // the same value.
    negative = clipped < Zero;
    return flipSign(shapeMagnitudes(*settings.table, magnitudeOf(clipped)), negative);
}

// The second half: post filter, post gain with the limit on the side the
// sample came from, dry/wet mix with the input x.
VARNEX_ALWAYS_INLINE Double2 finishFrame(Double2 y, Mask2 negative, Double2 x, StereoSection& post,
                                         const BlockSettings& settings) {
    const Double2 w = post.run(y) * settings.postGain;
    // One-sided limit: +1 from above for the positive branch, -1 from below
    // for the negative one (the same limit on the sign-flipped value).
    const Double2 limited = flipSign(lesser(One, flipSign(w, negative)), negative);
    return settings.wet * limited + settings.dry * x;
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
    VARNEX_ALWAYS_INLINE bool advance() {
        if (!(std::fabs(cutoff - target) > 1.0f)) {
            return false;
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
        moved = true;
        return true;
    }
};

// The coefficients a pair's ramp gives after each frame of a stretch of the
// block. The ramp does not depend on the audio, so the steps of a stretch are
// worked out ahead of its frames: the tangents and divisions of successive
// steps then overlap instead of waiting for each other and for the filters.
struct RampSchedule {
    static constexpr std::int32_t Capacity = 64;

    // Steps `ramp` `count` times; returns whether any step moved it.
    bool fill(PairRamp& ramp, std::int32_t count) {
        bool any = false;
        for (std::int32_t j = 0; j < count; ++j) {
            moved[j] = ramp.advance();
            if (moved[j]) {
                coefficients[j] = ramp.coefficients;
                any = true;
            }
        }
        return any;
    }

    BiquadCoefficients coefficients[Capacity];
    bool moved[Capacity];
};

inline bool isRamping(float cutoff, float target) {
    return std::fabs(cutoff - target) > 1.0f;
}

// The chain is run in two halves, each with one filter recursion: the front
// half (input, pre filter, gain, clip, curve) and the back half (post
// filter, gain, limit, mix, output). The loops run the front halves of a
// stretch of frames, then their back halves, so the two recursions overlap.
// Frame i's front half always runs before its back half, and every input is
// read before the output of the same frame is written, so shared or crossed
// buffers are harmless.
template <bool Adding> struct FrameChain {
    // Frames of a stretch at most, and what the front half hands the back
    // half for each of them.
    static constexpr std::int32_t InFlight = 64;

    FrameChain(const BlockSettings& blockSettings, const StereoSection& preSection,
               const StereoSection& postSection, float** inputs, float** outputs)
        : settings(blockSettings), pre(preSection), post(postSection), inLeft(inputs[0]),
          inRight(inputs[1]), outLeft(outputs[0]), outRight(outputs[1]) {}

    BlockSettings settings;
    StereoSection pre;
    StereoSection post;
    const float* inLeft;
    const float* inRight;
    float* outLeft;
    float* outRight;
    Double2 dry[InFlight];
    Double2 shaped[InFlight];
    Mask2 negative[InFlight];

    VARNEX_ALWAYS_INLINE void frontHalf(std::int32_t i, std::int32_t slot) {
        const Double2 x = finiteOrSilence(Double2{inLeft[i], inRight[i]});
        dry[slot] = x;
        shaped[slot] = shapeFrame(x, pre, settings, negative[slot]);
    }

    // A pre filter state that overflowed float32 (only inputs near the
    // float32 limit can do that) is cleared at the end of a stretch's front
    // halves; until then the non-number takes the clip's negative branch, so
    // nothing non-finite reaches the post filter or the output.
    VARNEX_ALWAYS_INLINE void endFrontHalves() { pre.clearNonFiniteState(); }

    VARNEX_ALWAYS_INLINE void backHalf(std::int32_t i, std::int32_t slot) {
        Double2 result = finishFrame(shaped[slot], negative[slot], dry[slot], post, settings);
        if constexpr (Adding) {
            result = finiteOrSilence(Double2{outLeft[i], outRight[i]}) + result;
        }
        const Float2 stored = __builtin_convertvector(result, Float2);
        // One test for the new post filter state and the output: the sum of
        // their magnitudes stays within float32 range only if each does (a
        // result just above the largest float, which would round down to it,
        // takes the slow path to the same value).
        const Double2 probe = magnitudeOf(post.state1) + magnitudeOf(result);
        if (__builtin_expect(bothWithinRange(probe), 1)) {
            outLeft[i] = stored[0];
            outRight[i] = stored[1];
        } else {
            post.clearNonFiniteState();
            outLeft[i] = repairOutput(result[0]);
            outRight[i] = repairOutput(result[1]);
        }
    }
};

// A block without a ramp, in short stretches: the back halves of one stretch
// still run while the front halves of the next begin.
template <bool Adding>
VARNEX_ALWAYS_INLINE void runPlainFrames(FrameChain<Adding>& chain, std::int32_t frameCount) {
    constexpr std::int32_t PlainStretch = 8;
    static_assert(PlainStretch <= FrameChain<Adding>::InFlight);
    for (std::int32_t start = 0; start < frameCount; start += PlainStretch) {
        const std::int32_t stretch = std::min(PlainStretch, frameCount - start);
        for (std::int32_t j = 0; j < stretch; ++j) {
            chain.frontHalf(start + j, j);
        }
        chain.endFrontHalves();
        for (std::int32_t j = 0; j < stretch; ++j) {
            chain.backHalf(start + j, j);
        }
    }
}

// A block in which a ramp runs: the ramps step after every frame, so the
// block goes by stretches. The coefficients of each pair's steps over the
// stretch are worked out first (their tangents and divisions overlap instead
// of waiting for each other), then the stretch's front halves, then its back
// halves, each pair taking its step's coefficients after each frame.
template <bool Adding>
VARNEX_ALWAYS_INLINE void runRampingFrames(FrameChain<Adding>& chain, PairRamp& preGlide,
                                           PairRamp& postGlide, std::int32_t frameCount) {
    constexpr std::int32_t RampStretch = FrameChain<Adding>::InFlight;
    static_assert(RampSchedule::Capacity == RampStretch);
    RampSchedule preSchedule;
    RampSchedule postSchedule;
    for (std::int32_t start = 0; start < frameCount; start += RampStretch) {
        const std::int32_t stretch = std::min(RampStretch, frameCount - start);
        const bool preMoves = preSchedule.fill(preGlide, stretch);
        const bool postMoves = postSchedule.fill(postGlide, stretch);
        for (std::int32_t j = 0; j < stretch; ++j) {
            chain.frontHalf(start + j, j);
            if (preMoves && preSchedule.moved[j]) {
                chain.pre.setCoefficients(preSchedule.coefficients[j]);
            }
        }
        chain.endFrontHalves();
        for (std::int32_t j = 0; j < stretch; ++j) {
            chain.backHalf(start + j, j);
            if (postMoves && postSchedule.moved[j]) {
                chain.post.setCoefficients(postSchedule.coefficients[j]);
            }
        }
    }
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
    const bool ramping =
        isRamping(preRamp.cutoff, preRamp.target) || isRamping(postRamp.cutoff, postRamp.target);
    if (ramping) {
        runFrames<Adding, true>(inputs, outputs, frameCount);
    } else {
        runFrames<Adding, false>(inputs, outputs, frameCount);
    }
}

// Loads the block's settings and the filters into the chain, runs the loop
// and hands back the filters' state and, after a ramp, the cutoffs reached.
template <bool Adding, bool Ramping>
void ShaperEffect::runFrames(float** inputs, float** outputs, std::int32_t frameCount) {
    const double d = values[ShaperParameter::DryWet].load(Relaxed);
    const BlockSettings settings{broadcast(preGainFactor.load(Relaxed)),
                                 broadcast(postGainFactor.load(Relaxed)), broadcast(d),
                                 broadcast(1.0 - d), &shaperTable.acquireForAudio()};
    FrameChain<Adding> chain(settings, StereoSection(preFilterLeft, preFilterRight),
                             StereoSection(postFilterLeft, postFilterRight), inputs, outputs);
    if constexpr (!Ramping) {
        runPlainFrames(chain, frameCount);
    } else {
        PairRamp preGlide{preRamp.cutoff, preRamp.target, preRamp.step,
                          preFilterLeft.currentRadiansPerHertz(), preFilterLeft.highPassMode()};
        PairRamp postGlide{postRamp.cutoff, postRamp.target, postRamp.step,
                           postFilterLeft.currentRadiansPerHertz(), postFilterLeft.highPassMode()};
        runRampingFrames(chain, preGlide, postGlide, frameCount);
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
    chain.pre.storeState(preFilterLeft, preFilterRight);
    chain.post.storeState(postFilterLeft, postFilterRight);
}

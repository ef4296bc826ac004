// The two audio entries and their frame loops.

#include "effect/FlushDenormals.h"
#include "effect/ShaperEffect.h"

#include <cmath>
#include <limits>

namespace {

constexpr float MaxFloat = std::numeric_limits<float>::max();

// A sample the host hands us that is not finite is taken as silence, in the
// processed and in the dry path alike.
inline double inputSample(float x) {
    return std::fabs(x) <= MaxFloat ? static_cast<double>(x) : 0.0;
}

// Rounds a result to float32; what would not be finite becomes 0 (NaN) or
// the largest float of its sign (overflow).
[[gnu::cold]] float repairOutput(double value) {
    if (std::isnan(value)) {
        return 0.0f;
    }
    return value > 0.0 ? MaxFloat : -MaxFloat;
}

inline float outputSample(double value) {
    const auto rounded = static_cast<float>(value);
    return std::fabs(rounded) <= MaxFloat ? rounded : repairOutput(value);
}

struct BlockSettings {
    double preGain;
    double postGain;
    double dry;
    double wet;
    const TransferTable::Entries* table;
};

// One sample of one channel: pre filter, pre gain, clip, curve, post filter,
// post gain with the limit on the side the sample came from, dry/wet mix.
inline double channelSample(double x, BiquadKernel& pre, BiquadKernel& post,
                            const BlockSettings& settings) {
    double s = pre.run(x) * settings.preGain;
    bool negative;
    if (s > 1.0) {
        s = 1.0;
        negative = false;
    } else if (!(s >= -1.0)) { // below -1, or not a number
        s = -1.0;
        negative = true;
    } else {
        negative = s < 0.0;
    }
    const double y = negative ? -TransferTable::shapePositive(*settings.table, -s)
                              : TransferTable::shapePositive(*settings.table, s);
    double w = post.run(y) * settings.postGain;
    if (negative) {
        if (w < -1.0) {
            w = -1.0;
        }
    } else if (w > 1.0) {
        w = 1.0;
    }
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
    inline void advance(BiquadKernel& first, BiquadKernel& second) {
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
        first.setCoefficients(coefficients, cutoff);
        second.setCoefficients(coefficients, cutoff);
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
    const FlushDenormals flush;
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
    const float d = values[ShaperParameter::DryWet].load(Relaxed);
    const BlockSettings settings{preGainFactor.load(Relaxed), postGainFactor.load(Relaxed), d,
                                 1.0 - static_cast<double>(d), &shaperTable.acquireForAudio()};

    BiquadKernel preLeft(preFilterLeft);
    BiquadKernel postLeft(postFilterLeft);
    BiquadKernel preRight(preFilterRight);
    BiquadKernel postRight(postFilterRight);
    for (BiquadKernel* kernel : {&preLeft, &postLeft, &preRight, &postRight}) {
        kernel->sanitizeState();
    }

    PairRamp pre{preRamp.cutoff, preRamp.target, preRamp.step,
                 preFilterLeft.currentRadiansPerHertz(), preFilterLeft.highPassMode()};
    PairRamp post{postRamp.cutoff, postRamp.target, postRamp.step,
                  postFilterLeft.currentRadiansPerHertz(), postFilterLeft.highPassMode()};

    const float* inLeft = inputs[0];
    const float* inRight = inputs[1];
    float* outLeft = outputs[0];
    float* outRight = outputs[1];
    for (std::int32_t i = 0; i < frameCount; ++i) {
        // Both inputs are read before either output is written, so any
        // sharing of buffers between the host's pointers is harmless.
        const double xLeft = inputSample(inLeft[i]);
        const double xRight = inputSample(inRight[i]);
        const double left = channelSample(xLeft, preLeft, postLeft, settings);
        const double right = channelSample(xRight, preRight, postRight, settings);
        if constexpr (Adding) {
            outLeft[i] = outputSample(inputSample(outLeft[i]) + left);
            outRight[i] = outputSample(inputSample(outRight[i]) + right);
        } else {
            outLeft[i] = outputSample(left);
            outRight[i] = outputSample(right);
        }
        if constexpr (Ramping) {
            pre.advance(preLeft, preRight);
            post.advance(postLeft, postRight);
        }
    }

    preLeft.storeState(preFilterLeft);
    postLeft.storeState(postFilterLeft);
    preRight.storeState(preFilterRight);
    postRight.storeState(postFilterRight);
    if constexpr (Ramping) {
        if (pre.moved) {
            preRamp.cutoff = pre.cutoff;
            preFilterLeft.assignCoefficients(pre.coefficients, pre.cutoff);
            preFilterRight.assignCoefficients(pre.coefficients, pre.cutoff);
            preCutoff.store(pre.cutoff, Relaxed);
        }
        if (post.moved) {
            postRamp.cutoff = post.cutoff;
            postFilterLeft.assignCoefficients(post.coefficients, post.cutoff);
            postFilterRight.assignCoefficients(post.coefficients, post.cutoff);
            postCutoff.store(post.cutoff, Relaxed);
        }
    }
}

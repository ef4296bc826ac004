#pragma once
// BiquadFilter: a two-pole Butterworth low- or high-pass section obtained by
// the bilinear transform with frequency prewarping, run in direct form II.
// Coefficients and state are kept as float32; the arithmetic is done in
// double and rounded where noted.
//
// A filter belongs to the thread that runs it. The effect keeps its four
// filters on the audio thread and hands changes to them at block starts.

#include <cmath>
#include <cstdint>
#include <limits>

// For the per-sample helpers of the audio loops, which must end up in the
// loop body whatever the compiler's size heuristics say.
#if defined(__GNUC__)
#define VARNEX_ALWAYS_INLINE [[gnu::always_inline]] inline
#else
#define VARNEX_ALWAYS_INLINE inline
#endif

struct BiquadCoefficients {
    float a0;
    float a1;
    float a2;
    float b1;
    float b2;
};

class BiquadFilter {
  public:
    static constexpr float InitialCutoff = 1000.0f;
    static constexpr float InitialRate = 44100.0f;

    BiquadFilter();
    virtual ~BiquadFilter() = default;

    // Coefficients for cutoff `cutoff` (Hz), `radiansPerHertz` (pi / rate)
    // and mode `highPass` (0 low-pass, anything else high-pass). The angle is
    // kept inside (0, 0.45 pi], so no input yields a cutoff at or above half
    // the rate or an unstable section; cutoffs the effect maps (at most 0.4
    // times the rate) are never moved by that.
    static BiquadCoefficients computeCoefficients(float cutoff, float radiansPerHertz,
                                                  std::int32_t highPass);

    // Sets pi / rate. The coefficients stay until the next recomputation.
    void setSampleRate(float rate);
    void setRadiansPerHertz(float value) { radiansPerHertz = value; }
    // Switches mode; on a real change clears the state and recomputes the
    // coefficients for the current cutoff and rate.
    void setHighPass(std::int32_t mode);
    // Unconditional switch: sets the mode, clears the state and computes the
    // coefficients for the current cutoff at `radiansPerHertzAtSwitch`.
    void resetMode(std::int32_t mode, float radiansPerHertzAtSwitch);
    // Moves the cutoff and recomputes the coefficients; the state is kept.
    void setCutoff(float hertz);
    // Installs coefficients computed elsewhere for `hertz` (the two filters
    // of a pair share them); the state is kept.
    void assignCoefficients(const BiquadCoefficients& coefficients, float hertz);
    void clearState() {
        state1 = 0.0f;
        state2 = 0.0f;
    }
    void setState(float newState1, float newState2) {
        state1 = newState1;
        state2 = newState2;
    }

    // Filters one sample. While the cutoff is not above 0 the section is
    // bypassed: low-pass gives silence, high-pass passes the input.
    float process(double x);

    float coefficientA0() const { return a0; }
    float coefficientA1() const { return a1; }
    float coefficientA2() const { return a2; }
    float coefficientB1() const { return b1; }
    float coefficientB2() const { return b2; }
    float firstState() const { return state1; }
    float secondState() const { return state2; }
    float currentCutoff() const { return cutoff; }
    float currentRadiansPerHertz() const { return radiansPerHertz; }
    std::int32_t highPassMode() const { return highPass; }
    BiquadCoefficients coefficients() const { return {a0, a1, a2, b1, b2}; }

  private:
    friend struct BiquadKernel;
    void recompute();

    float a0 = 0.0f;
    float a1 = 0.0f;
    float a2 = 0.0f;
    float b1 = 0.0f;
    float b2 = 0.0f;
    float state1 = 0.0f;
    float state2 = 0.0f;
    float cutoff = InitialCutoff;
    float radiansPerHertz;
    std::int32_t highPass = 0;
};

// The per-sample arithmetic of a BiquadFilter on copies of its fields, so a
// sample loop can keep them in registers; storeState writes the state back.
struct BiquadKernel {
    explicit BiquadKernel(const BiquadFilter& filter)
        : a0(filter.a0), a1(filter.a1), a2(filter.a2), b1(filter.b1), b2(filter.b2),
          state1(filter.state1), state2(filter.state2), active(filter.cutoff > 0.0f),
          highPass(filter.highPass != 0) {}

    void storeState(BiquadFilter& filter) const {
        filter.state1 = static_cast<float>(state1);
        filter.state2 = static_cast<float>(state2);
    }

    void setCoefficients(const BiquadCoefficients& c, float cutoff) {
        a0 = c.a0;
        a1 = c.a1;
        a2 = c.a2;
        b1 = c.b1;
        b2 = c.b2;
        active = cutoff > 0.0f;
    }

    // Clears a state that is not finite, so nothing already stored can
    // poison the section.
    void sanitizeState() {
        if (!(std::fabs(state1) <= MaxFloat) || !(std::fabs(state2) <= MaxFloat)) {
            state1 = 0.0;
            state2 = 0.0;
        }
    }

    // One sample through direct form II; the state and the output are
    // rounded to float32. A state that overflows float32 is cleared rather
    // than kept, so a single huge input cannot leave the section non-finite.
    VARNEX_ALWAYS_INLINE double run(double x) {
        if (!active) {
            return highPass ? static_cast<double>(static_cast<float>(x)) : 0.0;
        }
        const double w = x - b1 * state1 - b2 * state2;
        const double y = a0 * w + a1 * state1 + a2 * state2;
        const float rounded = static_cast<float>(w);
        if (std::fabs(rounded) <= MaxFloat) {
            state2 = state1;
            state1 = rounded;
        } else {
            state2 = 0.0;
            state1 = 0.0;
        }
        return static_cast<float>(y);
    }

    static constexpr float MaxFloat = std::numeric_limits<float>::max();

    double a0;
    double a1;
    double a2;
    double b1;
    double b2;
    double state1;
    double state2;
    bool active;
    bool highPass;
};

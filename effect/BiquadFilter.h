#pragma once
// BiquadFilter: a two-pole Butterworth low- or high-pass section obtained by
// the bilinear transform with frequency prewarping: its design, mode, cutoff
// and state, kept as float32. The samples run through StereoSection
// (effect/StereoSection.h), which runs the two filters of a pair together.
//
// A filter belongs to the thread that runs it. The effect keeps its four
// filters on the audio thread and hands changes to them at block starts.

#include <cstdint>

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
    // times the rate) are never moved by that. A cutoff that is not above 0
    // bypasses the section: a high-pass one passes its input, a low-pass one
    // gives silence. (Its state still follows the input, unlike a filter
    // that skips its state; no output shows the difference, and the effect's
    // cutoffs never get there: every target is at least 10 Hz and a ramp
    // never passes its target.)
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

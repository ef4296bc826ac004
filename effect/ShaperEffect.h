#pragma once
// ShaperEffect: the stereo waveshaper. Each channel runs through a switchable
// low-/high-pass pre filter, the pre gain, a clip to [-1, 1], the transfer
// curve, a switchable post filter, the post gain with a one-sided limit, and
// is mixed with the unprocessed input by DryWet. Cutoff changes glide over
// about 10000 frames.
//
// Threads: parameters, programs and the sample rate arrive on the host's and
// the editor's threads, the audio thread included; the audio entries run on
// the audio thread. The parameter side only writes atomic words (values,
// gain factors, cutoff targets, mode requests and counters announcing them);
// setting parameter 0 puts in use a transfer table built on the thread that
// changed the curve (see TransferTable), so no parameter change locks or
// allocates. The four
// filters and the cutoff ramps belong to the audio thread, which takes the
// announced changes at the start of every audio call, in the order they
// would have acted had they been applied at once. Nothing on the audio path
// allocates, locks or calls the system.

#include "effect/BiquadFilter.h"
#include "effect/CurveSource.h"
#include "effect/ProgramRecord.h"
#include "effect/ShaperState.h"
#include "effect/TransferTable.h"
#include "host/ExtendedEffect.h"

#include <array>
#include <atomic>
#include <cstdint>

// Parameter indices; also the tags of the editor's controls.
namespace ShaperParameter {
enum : std::int32_t {
    Shaper = 0,
    PreGain = 1,
    PreFilter = 2,
    PostGain = 3,
    PostFilter = 4,
    PreSwitch = 5,
    PostSwitch = 6,
    DryWet = 7,
    Count = 8,
};
} // namespace ShaperParameter

class ShaperEffect : public ExtendedEffect {
  public:
    static constexpr std::int32_t ProgramCount = 16;
    static constexpr float InitialCutoff = 1000.0f;
    // Lowest cutoff target (Hz) and the share of the rate the top maps to.
    static constexpr float MinimumCutoff = 10.0f;
    static constexpr double CutoffRateShare = 0.4;
    // A change of cutoff is spread over 1 / RampStepShare frames.
    static constexpr double RampStepShare = 0.0001;
    static constexpr std::int32_t UniqueId = fourCharCode('V', 'a', 'r', 'n');

    explicit ShaperEffect(HostCallback callback);
    ~ShaperEffect() override;

    void setParameterValue(std::int32_t index, float value) override;
    float parameterValue(std::int32_t index) override;
    void processAdding(float** inputs, float** outputs, std::int32_t frameCount) override;
    void processOverwriting(float** inputs, float** outputs, std::int32_t frameCount) override;
    void selectProgram(std::int32_t number) override;
    void renameProgram(char* text) override;
    void copyProgramName(char* text) override;
    void copyParameterUnit(std::int32_t index, char* text) override;
    void copyParameterText(std::int32_t index, char* text) override;
    void copyParameterName(std::int32_t index, char* text) override;
    void changeSampleRate(float rate) override;
    void suspendProcessing() override;
    void changeBlockSizeAndSampleRate(std::int32_t frames, float rate) override;

    // The transfer table (see TransferTable for the threads). The curve's
    // tables are built on the threads that change it; setting parameter 0
    // puts the newest one in use, on any thread, without a lock.
    //
    // The curve later tables are built from; null for the identity. Its
    // table is built now but not put in use. Once this returns, no build
    // still uses the previous curve, so its owner may destroy it.
    void attachCurve(CurveSource* source) { shaperTable.attachCurve(source); }
    CurveSource* attachedCurve() const { return shaperTable.attachedCurve(); }
    // The attached curve changed: builds its table on the calling thread
    // (never the audio thread), ready for the next setting of parameter 0.
    void curveChanged() { shaperTable.curveChanged(); }
    // Builds the table of a curve the attached one will show later.
    void prepareTable(CurveSource& source) { shaperTable.prepareFrom(source); }
    // Puts the newest table in use (setting parameter 0 does this).
    void rebuildTable() { shaperTable.publish(); }

    // The programs' part of the state a host keeps (see ShaperState): the
    // bank and the current program, or the current program alone. Not on
    // the audio thread. Loading goes through setParameterValue, as a
    // program change does, so what depends on the values follows.
    void savePrograms(ShaperState& state);
    void loadPrograms(const ShaperState& state);

    // Inspection. The filters belong to the audio thread: read them only
    // between audio calls. Changes made on the parameter side reach them at
    // the start of the next audio call (a call with 0 frames will do).
    const BiquadFilter& preFilterLeftSection() const { return preFilterLeft; }
    const BiquadFilter& preFilterRightSection() const { return preFilterRight; }
    const BiquadFilter& postFilterLeftSection() const { return postFilterLeft; }
    const BiquadFilter& postFilterRightSection() const { return postFilterRight; }
    float currentPreCutoff() const { return preCutoff.load(std::memory_order_relaxed); }
    float currentPostCutoff() const { return postCutoff.load(std::memory_order_relaxed); }
    float currentPreCutoffTarget() const { return preControl.cutoffTarget.load(Relaxed); }
    float currentPostCutoffTarget() const { return postControl.cutoffTarget.load(Relaxed); }
    float currentPreCutoffStep() const { return preCutoffStep.load(std::memory_order_relaxed); }
    float currentPostCutoffStep() const { return postCutoffStep.load(std::memory_order_relaxed); }
    float currentPreGainFactor() const { return preGainFactor.load(std::memory_order_relaxed); }
    float currentPostGainFactor() const { return postGainFactor.load(std::memory_order_relaxed); }
    const TransferTable& transferTable() const { return shaperTable; }
    ProgramRecord& program(std::int32_t number) { return programs[programSlot(number)]; }

  protected:
    void updatePreCutoff();
    void updatePostCutoff();
    void applyPreSwitch();
    void applyPostSwitch();

  private:
    static constexpr std::memory_order Relaxed = std::memory_order_relaxed;

    // What the parameter side asks of one filter pair.
    struct FilterPairControl {
        std::atomic<float> cutoffTarget{InitialCutoff};
        std::atomic<std::uint32_t> aimCount{0}; // one more for every new target
        std::atomic<std::int32_t> mode{0};      // 0 low-pass, 1 high-pass
        std::atomic<float> radiansPerHertz{0.0f};
        // pi / rate in force when the mode last changed: a switch computes
        // its coefficients for the rate of that moment.
        std::atomic<float> modeRadiansPerHertz{0.0f};
        std::atomic<std::uint32_t> switchCount{0}; // one more for every real switch
    };

    // The audio thread's side of a pair's cutoff ramp.
    struct CutoffRamp {
        float cutoff = InitialCutoff;
        float target = InitialCutoff;
        float step = 0.0f;
        std::uint32_t aimsSeen = 0;
        std::uint32_t switchesSeen = 0;
    };

    static std::int32_t programSlot(std::int32_t number);
    void aimPair(FilterPairControl& control, float value);
    void switchPair(FilterPairControl& control, float value);
    // Audio thread: takes the changes announced since the last call.
    void applyControlChanges();
    void applyPairChanges(FilterPairControl& control, CutoffRamp& ramp, BiquadFilter& left,
                          BiquadFilter& right, std::atomic<float>& publishedStep);
    template <bool Adding>
    void processBlock(float** inputs, float** outputs, std::int32_t frameCount);
    template <bool Adding, bool Ramping>
    void runFrames(float** inputs, float** outputs, std::int32_t frameCount);

    BiquadFilter preFilterLeft;
    BiquadFilter postFilterLeft;
    BiquadFilter preFilterRight;
    BiquadFilter postFilterRight;
    std::array<ProgramRecord, ProgramCount> programs;
    TransferTable shaperTable;
    // Current values of parameters 1 .. 7 (entry 0 is unused).
    std::array<std::atomic<float>, ShaperParameter::Count> values{};
    // Published by the audio thread after each call.
    std::atomic<float> preCutoff{InitialCutoff};
    std::atomic<float> postCutoff{InitialCutoff};
    std::atomic<float> preCutoffStep{0.0f};
    std::atomic<float> postCutoffStep{0.0f};
    std::atomic<float> preGainFactor{0.0f};
    std::atomic<float> postGainFactor{0.0f};

    FilterPairControl preControl;
    FilterPairControl postControl;
    std::atomic<std::uint32_t> clearCount{0}; // one more for every suspend

    // Audio thread only.
    CutoffRamp preRamp;
    CutoffRamp postRamp;
    std::uint32_t clearsSeen = 0;
};

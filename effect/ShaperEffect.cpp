#include "effect/ShaperEffect.h"

#include "host/EditorBase.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <numbers>

namespace {

float radiansPerHertzFor(float rate) {
    return static_cast<float>(std::numbers::pi / static_cast<double>(rate));
}

bool isUsableRate(float rate) {
    return rate > 0.0f && std::isfinite(rate);
}

} // namespace

ShaperEffect::ShaperEffect(HostCallback callback)
    : ExtendedEffect(callback, ProgramCount, ShaperParameter::Count) {
    const float rate = currentSampleRate();
    preFilterLeft.setSampleRate(rate);
    preFilterRight.setSampleRate(rate);
    postFilterLeft.setSampleRate(rate);
    postFilterRight.setSampleRate(rate);
    for (FilterPairControl* control : {&preControl, &postControl}) {
        control->radiansPerHertz.store(radiansPerHertzFor(rate), Relaxed);
        control->modeRadiansPerHertz.store(radiansPerHertzFor(rate), Relaxed);
    }

    selectProgram(0);

    record.inputCount = 2;
    record.outputCount = 2;
    setCanMono(true);
    setCanOverwrite(true);

    rebuildTable();
    record.uniqueId = UniqueId;
}

ShaperEffect::~ShaperEffect() = default;

std::int32_t ShaperEffect::programSlot(std::int32_t number) {
    return std::clamp(number, 0, ProgramCount - 1);
}

void ShaperEffect::selectProgram(std::int32_t number) {
    if (number < 0 || number >= ProgramCount) {
        return;
    }
    currentProgram = number;
    ProgramRecord& chosen = programs[number];
    for (std::int32_t index = ShaperParameter::PreGain; index <= ShaperParameter::DryWet; ++index) {
        setParameterValue(index, chosen.parameter(index)->load(Relaxed));
    }
}

void ShaperEffect::setParameterValue(std::int32_t index, float value) {
    if (index == ShaperParameter::Shaper) {
        rebuildTable();
    } else if (index > ShaperParameter::Shaper && index < ShaperParameter::Count &&
               !std::isnan(value)) {
        // Hosts are meant to send [0, 1]; anything else is brought into it.
        const float v = value > 0.0f ? std::min(value, 1.0f) : 0.0f;
        values[static_cast<std::size_t>(index)].store(v, Relaxed);
        programs[programSlot(currentProgram)].parameter(index)->store(v, Relaxed);
        switch (index) {
        case ShaperParameter::PreGain:
            preGainFactor.store(2.0f * v, Relaxed);
            break;
        case ShaperParameter::PreFilter:
            updatePreCutoff();
            break;
        case ShaperParameter::PostGain:
            postGainFactor.store(2.0f * v, Relaxed);
            break;
        case ShaperParameter::PostFilter:
            updatePostCutoff();
            break;
        case ShaperParameter::PreSwitch:
            applyPreSwitch();
            break;
        case ShaperParameter::PostSwitch:
            applyPostSwitch();
            break;
        default:
            break;
        }
    }
    if (editor != nullptr) {
        editor->scheduleUpdate();
    }
}

float ShaperEffect::parameterValue(std::int32_t index) {
    if (index > ShaperParameter::Shaper && index < ShaperParameter::Count) {
        return values[static_cast<std::size_t>(index)].load(Relaxed);
    }
    return 0.0f;
}

void ShaperEffect::renameProgram(char* text) {
    if (text == nullptr) {
        return;
    }
    // Longer names are cut to fit, terminator included.
    char* name = programs[programSlot(currentProgram)].name;
    std::size_t length = 0;
    while (length + 1 < sizeof(ProgramRecord::name) && text[length] != '\0') {
        ++length;
    }
    std::memcpy(name, text, length);
    name[length] = '\0';
}

void ShaperEffect::copyProgramName(char* text) {
    if (text == nullptr) {
        return;
    }
    const char* name = programs[programSlot(currentProgram)].name;
    if (std::strcmp(name, "Init") == 0) {
        std::snprintf(text, ProgramNameSize, "Init %d", static_cast<int>(currentProgram + 1));
    } else {
        std::snprintf(text, ProgramNameSize, "%s", name);
    }
}

void ShaperEffect::savePrograms(ShaperState& state) {
    // A program chunk does not say which program it came from.
    state.currentProgram = state.bank ? programSlot(currentProgram) : 0;
    for (std::int32_t p = 0; p < state.programsHeld(); ++p) {
        ProgramRecord& source = state.bank ? programs[static_cast<std::size_t>(p)]
                                           : programs[programSlot(currentProgram)];
        ShaperState::Program& program = state.programs[static_cast<std::size_t>(p)];
        std::memcpy(program.name.data(), source.name, sizeof(source.name));
        for (std::int32_t index = ShaperParameter::PreGain; index <= ShaperParameter::DryWet;
             ++index) {
            program.values[static_cast<std::size_t>(index - 1)] =
                source.parameter(index)->load(Relaxed);
        }
    }
}

void ShaperEffect::loadPrograms(const ShaperState& state) {
    static_assert(sizeof(ProgramRecord::name) == ShaperState::NameSize);
    if (!state.bank) {
        const ShaperState::Program& program = state.programs[0];
        std::memcpy(programs[programSlot(currentProgram)].name, program.name.data(),
                    ShaperState::NameSize);
        for (std::int32_t index = ShaperParameter::PreGain; index <= ShaperParameter::DryWet;
             ++index) {
            setParameterValue(index, program.values[static_cast<std::size_t>(index - 1)]);
        }
        return;
    }
    for (std::int32_t p = 0; p < ProgramCount; ++p) {
        ProgramRecord& target = programs[static_cast<std::size_t>(p)];
        const ShaperState::Program& program = state.programs[static_cast<std::size_t>(p)];
        std::memcpy(target.name, program.name.data(), ShaperState::NameSize);
        for (std::int32_t index = ShaperParameter::PreGain; index <= ShaperParameter::DryWet;
             ++index) {
            target.parameter(index)->store(program.values[static_cast<std::size_t>(index - 1)],
                                           Relaxed);
        }
    }
    selectProgram(state.currentProgram);
}

// Filter section, parameter side.

void ShaperEffect::aimPair(FilterPairControl& control, float value) {
    const double v = value;
    float target = static_cast<float>(CutoffRateShare * currentSampleRate() * (v * v));
    if (target < MinimumCutoff) {
        target = MinimumCutoff;
    }
    control.cutoffTarget.store(target, Relaxed);
    // Even an unchanged target re-aims: the ramp restarts from where it is.
    control.aimCount.fetch_add(1, std::memory_order_release);
}

void ShaperEffect::switchPair(FilterPairControl& control, float value) {
    const std::int32_t mode = value == 0.0f ? 0 : 1;
    if (mode == control.mode.load(Relaxed)) {
        return;
    }
    control.mode.store(mode, Relaxed);
    control.modeRadiansPerHertz.store(control.radiansPerHertz.load(Relaxed), Relaxed);
    control.switchCount.fetch_add(1, std::memory_order_release);
}

void ShaperEffect::updatePreCutoff() {
    aimPair(preControl, values[ShaperParameter::PreFilter].load(Relaxed));
}

void ShaperEffect::updatePostCutoff() {
    aimPair(postControl, values[ShaperParameter::PostFilter].load(Relaxed));
}

void ShaperEffect::applyPreSwitch() {
    switchPair(preControl, values[ShaperParameter::PreSwitch].load(Relaxed));
}

void ShaperEffect::applyPostSwitch() {
    switchPair(postControl, values[ShaperParameter::PostSwitch].load(Relaxed));
}

void ShaperEffect::changeSampleRate(float rate) {
    if (!isUsableRate(rate)) {
        return;
    }
    // The base rate drives the cutoff mapping and the display texts, so it
    // follows the filters' rate; both ramps are re-aimed for the new mapping.
    ExtendedEffect::changeSampleRate(rate);
    preControl.radiansPerHertz.store(radiansPerHertzFor(rate), Relaxed);
    postControl.radiansPerHertz.store(radiansPerHertzFor(rate), Relaxed);
    updatePreCutoff();
    updatePostCutoff();
}

void ShaperEffect::changeBlockSizeAndSampleRate(std::int32_t frames, float rate) {
    changeBlockSize(frames);
    changeSampleRate(rate);
}

void ShaperEffect::suspendProcessing() {
    clearCount.fetch_add(1, std::memory_order_release);
}

// Filter section, audio side.

void ShaperEffect::applyControlChanges() {
    const std::uint32_t clears = clearCount.load(std::memory_order_acquire);
    if (clears != clearsSeen) {
        clearsSeen = clears;
        preFilterLeft.clearState();
        preFilterRight.clearState();
        postFilterLeft.clearState();
        postFilterRight.clearState();
    }
    applyPairChanges(preControl, preRamp, preFilterLeft, preFilterRight, preCutoffStep);
    applyPairChanges(postControl, postRamp, postFilterLeft, postFilterRight, postCutoffStep);
}

void ShaperEffect::applyPairChanges(FilterPairControl& control, CutoffRamp& ramp,
                                    BiquadFilter& left, BiquadFilter& right,
                                    std::atomic<float>& publishedStep) {
    const std::uint32_t switches = control.switchCount.load(std::memory_order_acquire);
    if (switches != ramp.switchesSeen) {
        ramp.switchesSeen = switches;
        const std::int32_t mode = control.mode.load(Relaxed);
        const float rateAtSwitch = control.modeRadiansPerHertz.load(Relaxed);
        left.resetMode(mode, rateAtSwitch);
        right.resetMode(mode, rateAtSwitch);
    }
    const float radiansPerHertz = control.radiansPerHertz.load(Relaxed);
    left.setRadiansPerHertz(radiansPerHertz);
    right.setRadiansPerHertz(radiansPerHertz);

    const std::uint32_t aims = control.aimCount.load(std::memory_order_acquire);
    if (aims != ramp.aimsSeen) {
        ramp.aimsSeen = aims;
        ramp.target = control.cutoffTarget.load(Relaxed);
        ramp.step =
            static_cast<float>((static_cast<double>(ramp.target) - ramp.cutoff) * RampStepShare);
        publishedStep.store(ramp.step, Relaxed);
    }
}

// Names, display texts and units of the eight parameters.

#include "effect/ShaperEffect.h"

#include <array>
#include <cstring>
#include <string_view>

namespace {

constexpr std::array<std::string_view, ShaperParameter::Count> ParameterNames = {
    "Shaper",     "PreGain",   "PreFilter",  "PostGain",
    "PostFilter", "PreSwitch", "PostSwitch", "DryWet"};

constexpr std::array<std::string_view, ShaperParameter::Count> ParameterUnits = {
    "", "dB", "Hz", "dB", "Hz", "", "", "% wet"};

bool isParameter(std::int32_t index) {
    return index >= 0 && index < ShaperParameter::Count;
}

void copyText(std::string_view source, char* text) {
    std::memcpy(text, source.data(), source.size());
    text[source.size()] = '\0';
}

} // namespace

void ShaperEffect::copyParameterName(std::int32_t index, char* text) {
    if (text != nullptr && isParameter(index)) {
        copyText(ParameterNames[static_cast<std::size_t>(index)], text);
    }
}

void ShaperEffect::copyParameterUnit(std::int32_t index, char* text) {
    if (text != nullptr && isParameter(index)) {
        copyText(ParameterUnits[static_cast<std::size_t>(index)], text);
    }
}

void ShaperEffect::copyParameterText(std::int32_t index, char* text) {
    if (text == nullptr || !isParameter(index)) {
        return;
    }
    const double v = parameterValue(index);
    switch (index) {
    case ShaperParameter::Shaper:
        copyText("-special-", text);
        break;
    case ShaperParameter::PreGain:
    case ShaperParameter::PostGain:
        decibelsToText(static_cast<float>(2.0 * v), text);
        break;
    case ShaperParameter::PreFilter:
    case ShaperParameter::PostFilter:
        // The cutoff the value maps to, shown without the 10 Hz floor.
        floatToText(static_cast<float>(v * v * currentSampleRate() * CutoffRateShare), text);
        break;
    case ShaperParameter::PreSwitch:
    case ShaperParameter::PostSwitch:
        copyText(v == 0.0 ? "LP" : "HP", text);
        break;
    case ShaperParameter::DryWet:
        integerToText(static_cast<std::int32_t>(v * 100.0), text);
        break;
    default:
        break;
    }
}

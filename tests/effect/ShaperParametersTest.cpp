#include "effect/ShaperEffect.h"
#include "host/EditorBase.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

using namespace ShaperParameter;

std::string text(ShaperEffect& effect, std::int32_t index) {
    char buffer[32] = "untouched";
    effect.copyParameterText(index, buffer);
    return buffer;
}
std::string unit(ShaperEffect& effect, std::int32_t index) {
    char buffer[32] = "untouched";
    effect.copyParameterUnit(index, buffer);
    return buffer;
}
std::string name(ShaperEffect& effect, std::int32_t index) {
    char buffer[32] = "untouched";
    effect.copyParameterName(index, buffer);
    return buffer;
}
std::string programName(ShaperEffect& effect) {
    char buffer[32] = "untouched";
    effect.copyProgramName(buffer);
    return buffer;
}

TEST(ShaperIdentity, RecordShowsStereoMonoCapableOverwritingEffect) {
    ShaperEffect effect(nullptr);
    const EffectRecord* record = effect.effectRecord();
    EXPECT_EQ(record->uniqueId, fourCharCode('V', 'a', 'r', 'n'));
    EXPECT_EQ(record->programCount, 16);
    EXPECT_EQ(record->parameterCount, 8);
    EXPECT_EQ(record->inputCount, 2);
    EXPECT_EQ(record->outputCount, 2);
    EXPECT_EQ(record->flags & (CanMono | CanOverwrite), CanMono | CanOverwrite);
    EXPECT_EQ(record->flags & HasEditor, 0);
}

TEST(ShaperDisplay, NamesAndUnits) {
    ShaperEffect effect(nullptr);
    const char* names[] = {"Shaper",     "PreGain",   "PreFilter",  "PostGain",
                           "PostFilter", "PreSwitch", "PostSwitch", "DryWet"};
    const char* units[] = {"", "dB", "Hz", "dB", "Hz", "", "", "% wet"};
    for (std::int32_t i = 0; i < Count; ++i) {
        EXPECT_EQ(name(effect, i), names[i]);
        EXPECT_EQ(unit(effect, i), units[i]);
    }
    for (const std::int32_t outside : {-1, 8, 1000}) {
        EXPECT_EQ(name(effect, outside), "untouched");
        EXPECT_EQ(unit(effect, outside), "untouched");
        EXPECT_EQ(text(effect, outside), "untouched");
    }
}

TEST(ShaperDisplay, TextsOfANewEffect) {
    ShaperEffect effect(nullptr);
    EXPECT_EQ(text(effect, Shaper), "-special-");
    EXPECT_EQ(text(effect, PreGain), "0.000000");
    EXPECT_EQ(text(effect, PreFilter), "4410.000");
    EXPECT_EQ(text(effect, PostGain), "0.000000");
    EXPECT_EQ(text(effect, PostFilter), "4410.000");
    EXPECT_EQ(text(effect, PreSwitch), "LP");
    EXPECT_EQ(text(effect, PostSwitch), "LP");
    EXPECT_EQ(text(effect, DryWet), "      0");
}

TEST(ShaperDisplay, TextsFollowTheValues) {
    ShaperEffect effect(nullptr);
    effect.setParameterValue(PreGain, 0.0f);
    EXPECT_EQ(text(effect, PreGain), "  -oo   ");
    effect.setParameterValue(PostGain, 1.0f);
    EXPECT_EQ(text(effect, PostGain), "6.020599");
    effect.setParameterValue(PreFilter, 0.0f); // target floors at 10 Hz, text does not
    EXPECT_EQ(text(effect, PreFilter), "0.000000");
    effect.setParameterValue(PostFilter, 1.0f);
    EXPECT_EQ(text(effect, PostFilter), "17640.00");
    effect.setParameterValue(PreSwitch, 0.001f);
    EXPECT_EQ(text(effect, PreSwitch), "HP");
    effect.setParameterValue(PostSwitch, 1.0f);
    EXPECT_EQ(text(effect, PostSwitch), "HP");
    effect.setParameterValue(DryWet, 0.29f); // 0.29f is just below 0.29
    EXPECT_EQ(text(effect, DryWet), "     28");
    effect.setParameterValue(DryWet, 1.0f);
    EXPECT_EQ(text(effect, DryWet), "    100");
}

TEST(ShaperDisplay, CutoffTextFollowsTheHostRate) {
    ShaperEffect effect(nullptr);
    effect.changeSampleRate(48000.0f);
    EXPECT_EQ(text(effect, PreFilter), "4800.000");
    effect.dispatch(43, 0, 256, nullptr, 96000.0f);
    EXPECT_EQ(effect.currentBlockSize(), 256);
    EXPECT_EQ(text(effect, PreFilter), "9600.000");
}

TEST(ShaperParameterValues, ShaperParameterStoresNothing) {
    ShaperEffect effect(nullptr);
    effect.setParameterValue(Shaper, 0.7f);
    EXPECT_EQ(effect.parameterValue(Shaper), 0.0f);
    EXPECT_EQ(effect.parameterValue(8), 0.0f);
    EXPECT_EQ(effect.parameterValue(-1), 0.0f);
    EXPECT_FLOAT_EQ(effect.parameterValue(PreGain), 0.5f);
}

TEST(ShaperParameterValues, OutOfRangeValuesAreClampedAndNaNIgnored) {
    ShaperEffect effect(nullptr);
    effect.setParameterValue(PreGain, 3.0f);
    EXPECT_EQ(effect.parameterValue(PreGain), 1.0f);
    EXPECT_EQ(effect.currentPreGainFactor(), 2.0f);
    effect.setParameterValue(PostGain, -0.5f);
    EXPECT_EQ(effect.parameterValue(PostGain), 0.0f);
    effect.setParameterValue(PostGain, INFINITY);
    EXPECT_EQ(effect.parameterValue(PostGain), 1.0f);
    effect.setParameterValue(DryWet, 0.25f);
    effect.setParameterValue(DryWet, NAN);
    EXPECT_EQ(effect.parameterValue(DryWet), 0.25f);
    EXPECT_EQ(effect.program(0).dryWet.load(), 0.25f);
    effect.setParameterValue(PreFilter, 7.0f);
    EXPECT_EQ(effect.currentPreCutoffTarget(), 17640.0f);
    effect.setParameterValue(PreFilter, -7.0f);
    EXPECT_EQ(effect.currentPreCutoffTarget(), 10.0f);
}

TEST(ShaperPrograms, NewBankIsSixteenNumberedInits) {
    ShaperEffect effect(nullptr);
    EXPECT_EQ(programName(effect), "Init 1");
    effect.selectProgram(15);
    EXPECT_EQ(programName(effect), "Init 16");
    EXPECT_EQ(effect.dispatch(OpGetProgram, 0, 0, nullptr, 0.0f), 15);
}

TEST(ShaperPrograms, RenamingKeepsNumberingOnlyForExactInit) {
    ShaperEffect effect(nullptr);
    effect.selectProgram(2);
    char name[] = "init";
    effect.renameProgram(name);
    EXPECT_EQ(programName(effect), "init");
    char exact[] = "Init";
    effect.renameProgram(exact);
    EXPECT_EQ(programName(effect), "Init 3");
    char tooLong[] = "A name far longer than twenty-three bytes";
    effect.renameProgram(tooLong);
    EXPECT_EQ(programName(effect), std::string(tooLong, 23));
    effect.selectProgram(3);
    EXPECT_EQ(programName(effect), "Init 4");
}

TEST(ShaperPrograms, ValuesWriteThroughAndComeBack) {
    ShaperEffect effect(nullptr);
    effect.selectProgram(4);
    effect.setParameterValue(PostGain, 0.25f);
    effect.setParameterValue(PreSwitch, 1.0f);
    EXPECT_EQ(effect.program(4).postGain.load(), 0.25f);
    effect.selectProgram(0);
    EXPECT_EQ(effect.parameterValue(PostGain), 0.5f);
    EXPECT_EQ(effect.parameterValue(PreSwitch), 0.0f);
    EXPECT_EQ(effect.currentPostGainFactor(), 1.0f);
    effect.selectProgram(4);
    EXPECT_EQ(effect.parameterValue(PostGain), 0.25f);
    EXPECT_EQ(effect.currentPostGainFactor(), 0.5f);
    EXPECT_EQ(text(effect, PreSwitch), "HP");
}

TEST(ShaperPrograms, OutOfRangeNumbersAreIgnored) {
    ShaperEffect effect(nullptr);
    effect.selectProgram(3);
    effect.selectProgram(16);
    effect.selectProgram(-1);
    EXPECT_EQ(effect.currentProgramNumber(), 3);
    effect.dispatch(OpSetProgram, 0, 16, nullptr, 0.0f);
    EXPECT_EQ(effect.currentProgramNumber(), 3);
}

class CountingEditor : public EditorBase {
  public:
    using EditorBase::EditorBase;
    void scheduleUpdate() override { ++updates; }
    int updates = 0;
};

TEST(ShaperPrograms, EverySetSchedulesAnEditorUpdate) {
    ShaperEffect effect(nullptr);
    auto* editor = new CountingEditor(&effect);
    effect.attachEditor(editor); // owned by the effect from here on
    effect.setParameterValue(PreGain, 0.3f);
    effect.setParameterValue(8, 1.0f);
    effect.setParameterValue(-1, 1.0f);
    effect.setParameterValue(Shaper, 0.0f);
    EXPECT_EQ(editor->updates, 4);
    effect.selectProgram(1);
    EXPECT_EQ(editor->updates, 11);
}

} // namespace

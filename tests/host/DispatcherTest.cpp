#include "SpyEffect.h"

#include "host/EditorBase.h"

#include <gtest/gtest.h>

#include <cmath>

#include <cstring>
#include <string>

namespace {

// An effect of the 1.0 layer alone.
class BaseOnlyEffect : public EffectBase {
  public:
    BaseOnlyEffect() : EffectBase(nullptr, 4, 2) {}
    void processAdding(float**, float**, std::int32_t) override {}
};

struct OpcodeCase {
    std::int32_t opcode;
    std::int32_t index;
    IntPtr value;
    float opt;
    const char* expectedCalls;
    IntPtr expectedResult;
};

// Every opcode 0 to 58 and some outside, with the operation it must reach
// and the answer the host must get (no editor attached).
const OpcodeCase opcodeTable[] = {
    {0, 0, 0, 0, "openEffect();", 0},
    {1, 0, 0, 0, "closeEffect();", 0},
    {2, 0, 3, 0, "selectProgram(3);", 0},
    {3, 0, 0, 0, "", 0},
    {4, 0, 0, 0, "renameProgram();", 0},
    {5, 0, 0, 0, "copyProgramName(-1);", 0},
    {6, 2, 0, 0, "copyParameterUnit(2);", 0},
    {7, 3, 0, 0, "copyParameterText(3);", 0},
    {8, 4, 0, 0, "copyParameterName(4);", 0},
    {9, 0, 0, 0, "", 0},
    {10, 0, 0, 48000, "changeSampleRate(48000);", 0},
    {11, 0, 256, 0, "changeBlockSize(256);", 0},
    {12, 0, 0, 0, "suspendProcessing();", 0},
    {12, 0, 5, 0, "resumeProcessing();", 0},
    {13, 0, 0, 0, "", 0},
    {14, 0, 0, 0, "", 0},
    {15, 0, 0, 0, "", 0},
    {16, 0, 0, 0, "", 0},
    {17, 0, 0, 0, "", 0},
    {18, 0, 0, 0, "", 0},
    {19, 0, 0, 0, "", 0},
    {20, 0, 0, 0, "", 0},
    {21, 0, 0, 0, "", 0},
    {22, 9, 9, 9, "", 0x4E764566},
    {23, 1, 0, 0, "saveChunk(1);", 77},
    {23, 0, 0, 0, "saveChunk(0);", 77},
    {24, 0, 12, 0, "loadChunk(12,0);", 5},
    {25, 0, 0, 0, "processEventList();", 11},
    {26, 6, 0, 0, "parameterAutomatable(6);", 1},
    {27, 2, 0, 0, "parameterFromText(2);", 1},
    {28, 0, 0, 0, "programCategoryCount();", 3},
    {29, 4, 7, 0, "copyIndexedProgramName(7,4);", 1},
    {30, 9, 0, 0, "duplicateProgram(9);", 1},
    {31, 1, 1, 0, "inputConnectionChanged(1,1);", 1},
    {32, 0, 0, 0, "outputConnectionChanged(0,0);", 1},
    {33, 1, 0, 0, "copyInputProperties(1);", 1},
    {34, 1, 0, 0, "copyOutputProperties(1);", 0},
    {35, 0, 0, 0, "plugInCategory();", 4},
    {36, 0, 0, 0, "currentPosition();", 12},
    {37, 0, 0, 0, "destinationBuffer();", 0},
    {38, 1, 3, 0, "offlineNotify(3,1);", 1},
    {39, 0, 2, 0, "offlinePrepare(2);", 1},
    {40, 0, 2, 0, "offlineRun(2);", 1},
    {41, 0, 0, 0, "processVariableIo();", 1},
    {42, 0, 8, 0, "applySpeakerArrangement(8);", 1},
    {43, 0, 512, 48000, "changeBlockSizeAndSampleRate(512,48000);", 1},
    {44, 0, 1, 0, "applyBypass(1);", 1},
    {45, 0, 0, 0, "copyEffectName();", 1},
    {46, 0, 0, 0, "copyErrorText();", 1},
    {47, 0, 0, 0, "copyVendorText();", 1},
    {48, 0, 0, 0, "copyProductText();", 1},
    {49, 0, 0, 0, "vendorVersion();", 13},
    {50, 3, 4, 0, "vendorRequest(3,4);", 14},
    {51, 0, 0, 0, "capabilityAnswer();", 15},
    {52, 0, 0, 0, "tailSize();", 16},
    {53, 0, 0, 0, "idleEffect();", 17},
    {54, 0, 0, 0, "iconHandle();", 0},
    {55, 5, 6, 0, "moveView(5,6);", 1},
    {56, 2, 0, 0, "copyParameterProperties(2);", 1},
    {57, 0, 0, 0, "needsKeys();", 1},
    {58, 0, 0, 0, "interfaceVersion();", 18},
    {59, 0, 0, 0, "", 0},
    {100, 0, 0, 0, "", 0},
    {-1, 0, 0, 0, "", 0},
};

TEST(Dispatcher, EveryOpcodeReachesItsOperation) {
    for (const OpcodeCase& c : opcodeTable) {
        SpyEffect effect;
        char text[64] = "text";
        IntPtr result = effect.dispatch(c.opcode, c.index, c.value, text, c.opt);
        EXPECT_EQ(effect.calls, c.expectedCalls) << "opcode " << c.opcode;
        EXPECT_EQ(result, c.expectedResult) << "opcode " << c.opcode;
    }
}

TEST(Dispatcher, ProgramNumberOutsideTheBankIsIgnored) {
    SpyEffect effect;
    effect.dispatch(OpSetProgram, 0, 7, nullptr, 0);
    EXPECT_EQ(effect.dispatch(OpGetProgram, 0, 0, nullptr, 0), 7);
    effect.calls.clear();
    effect.dispatch(OpSetProgram, 0, 16, nullptr, 0);
    effect.dispatch(OpSetProgram, 0, -1, nullptr, 0);
    EXPECT_EQ(effect.calls, "");
    EXPECT_EQ(effect.dispatch(OpGetProgram, 0, 0, nullptr, 0), 7);
}

TEST(Dispatcher, MeterIsScaledAndTruncated) {
    SpyEffect effect;
    effect.meter = 1.0f;
    EXPECT_EQ(effect.dispatch(OpGetMeter, 0, 0, nullptr, 0), 32767);
    effect.meter = 0.5f;
    EXPECT_EQ(effect.dispatch(OpGetMeter, 0, 0, nullptr, 0), 16383);
    effect.meter = std::nanf("");
    EXPECT_EQ(effect.dispatch(OpGetMeter, 0, 0, nullptr, 0), 0);
}

TEST(Dispatcher, TextOpcodesWithoutABufferWriteNothing) {
    for (std::int32_t opcode : {4, 5, 6, 7, 8, 27, 29, 45, 46, 47, 48, 51}) {
        SpyEffect effect;
        EXPECT_EQ(effect.dispatch(opcode, 0, 0, nullptr, 0), 0) << "opcode " << opcode;
        EXPECT_EQ(effect.calls, "") << "opcode " << opcode;
    }
}

TEST(Dispatcher, DefaultsAnswerAsThePlainLayersDo) {
    BaseOnlyEffect base;
    for (std::int32_t opcode : {16, 17, 18, 20, 21, 25, 43, 58})
        EXPECT_EQ(base.dispatch(opcode, 0, 512, nullptr, 48000.0f), 0) << "opcode " << opcode;
    EXPECT_EQ(base.currentBlockSize(), 1024);

    char text[32];
    std::strcpy(text, "untouched");
    base.dispatch(OpGetParameterName, 0, 0, text, 0);
    EXPECT_STREQ(text, "");
}

class DefaultExtended : public ExtendedEffect {
  public:
    DefaultExtended() : ExtendedEffect(nullptr, 16, 8) {}
    void processAdding(float**, float**, std::int32_t) override {}
};

TEST(Dispatcher, ExtendedDefaults) {
    DefaultExtended effect;
    char word[32];
    for (const char* capability : {"receiveVstEvents", "1in1out", "noSuchWord"}) {
        std::strcpy(word, capability);
        EXPECT_EQ(effect.dispatch(OpCanDo, 0, 0, word, 0), 0) << capability;
    }
    EXPECT_EQ(effect.dispatch(26, 123, 0, nullptr, 0), 1);
    EXPECT_EQ(effect.dispatch(28, 0, 0, nullptr, 0), 1);
    EXPECT_EQ(effect.dispatch(31, 0, 1, nullptr, 0), 1);
    EXPECT_EQ(effect.dispatch(32, 0, 1, nullptr, 0), 1);
    EXPECT_EQ(effect.dispatch(35, 0, 0, nullptr, 0), 0);
    EXPECT_EQ(effect.dispatch(OpKeysRequired, 0, 0, nullptr, 0), 1);
    EXPECT_EQ(effect.dispatch(OpInterfaceVersion, 0, 0, nullptr, 0), 2);
    EXPECT_EQ(effect.dispatch(24, 0, 100, word, 0), 0);
    EXPECT_EQ(effect.dispatch(59, 0, 0, nullptr, 0), 0);
    for (std::int32_t opcode = 25; opcode <= 58; ++opcode) {
        IntPtr answer = effect.dispatch(opcode, 0, 0, word, 0);
        bool nonZero = opcode == 26 || opcode == 28 || opcode == 31 || opcode == 32 ||
                       opcode == 43 || opcode == 57 || opcode == 58;
        EXPECT_EQ(answer != 0, nonZero) << "opcode " << opcode;
    }

    EXPECT_EQ(effect.dispatch(43, 0, 512, nullptr, 48000.0f), 1);
    EXPECT_EQ(effect.currentBlockSize(), 512);
    EXPECT_EQ(effect.currentSampleRate(), 48000.0f);

    effect.setIsInstrument(true);
    EXPECT_EQ(effect.dispatch(35, 0, 0, nullptr, 0), 2);
}

TEST(Dispatcher, KeysRequiredAnswersTheOpposite) {
    SpyEffect effect;
    effect.keysNeeded = true;
    EXPECT_EQ(effect.dispatch(OpKeysRequired, 0, 0, nullptr, 0), 0);
}

class CountingEditor : public EditorBase {
  public:
    explicit CountingEditor(EffectBase* effect) : EditorBase(effect) {}
    EditorRect rect{0, 0, 290, 568};
    std::string calls;
    std::int32_t editorRect(EditorRect** out) override {
        calls += "rect;";
        *out = &rect;
        return 1;
    }
    std::int32_t openWindow(void* parent) override {
        calls += "open;";
        EditorBase::openWindow(parent);
        return 1;
    }
    void closeWindow() override { calls += "close;"; }
    void onIdle() override { calls += "idle;"; }
};

TEST(Dispatcher, EditorOpcodesReachTheEditor) {
    SpyEffect effect;
    auto* editor = new CountingEditor(&effect);
    effect.attachEditor(editor);
    EditorRect* rect = nullptr;
    EXPECT_EQ(effect.dispatch(OpEditorRect, 0, 0, &rect, 0), 1);
    EXPECT_EQ(rect, &editor->rect);
    int parent = 0;
    EXPECT_EQ(effect.dispatch(OpEditorOpen, 0, 0, &parent, 0), 1);
    EXPECT_EQ(effect.dispatch(OpEditorIdle, 0, 0, nullptr, 0), 0);
    EXPECT_EQ(effect.dispatch(OpEditorClose, 0, 0, nullptr, 0), 0);
    EXPECT_EQ(editor->calls, "rect;open;idle;close;");
}

TEST(Flags, SettersChangeOnlyTheirOwnBit) {
    DefaultExtended effect;
    EffectRecord* record = effect.effectRecord();
    struct Setter {
        void (ExtendedEffect::*set)(bool);
        std::int32_t bit;
    };
    const Setter setters[] = {
        {&EffectBase::setHasClip, HasClip},
        {&EffectBase::setHasMeter, HasMeter},
        {&EffectBase::setCanMono, CanMono},
        {&EffectBase::setCanOverwrite, CanOverwrite},
        {&EffectBase::setChunkPrograms, ChunkPrograms},
        {&ExtendedEffect::setIsInstrument, IsInstrument},
        {&ExtendedEffect::setSilentWhenStopped, SilentWhenStopped},
        {&ExtendedEffect::setAsyncProcessing, AsyncProcessing},
        {&ExtendedEffect::setExternalBuffer, ExternalBuffer},
    };
    for (const Setter& s : setters) {
        record->flags = 0x5000;
        (effect.*s.set)(true);
        EXPECT_EQ(record->flags, 0x5000 | s.bit);
        record->flags = ~0;
        (effect.*s.set)(false);
        EXPECT_EQ(record->flags, ~s.bit);
    }
}

TEST(Flags, AttachingAnEditorSetsAndClearsHasEditor) {
    DefaultExtended effect;
    EffectRecord* record = effect.effectRecord();
    record->flags = CanMono | CanOverwrite;
    auto* editor = new EditorBase(&effect);
    effect.attachEditor(editor);
    EXPECT_EQ(record->flags, CanMono | CanOverwrite | HasEditor);
    effect.attachEditor(nullptr);
    EXPECT_EQ(record->flags, CanMono | CanOverwrite);
    delete editor;
}

TEST(Record, FieldSettersWriteTheRecord) {
    DefaultExtended effect;
    EffectRecord* record = effect.effectRecord();
    effect.assignUniqueId(fourCharCode('V', 'a', 'r', 'n'));
    effect.setInputCount(2);
    effect.setOutputCount(6);
    effect.setInitialDelayFrames(64);
    effect.setRealtimeQualityCount(3);
    effect.setOfflineQualityCount(4);
    EXPECT_EQ(record->uniqueId, 0x5661726E);
    EXPECT_EQ(record->inputCount, 2);
    EXPECT_EQ(record->outputCount, 6);
    EXPECT_EQ(record->initialDelay, 64);
    EXPECT_EQ(record->realtimeQualities, 3);
    EXPECT_EQ(record->offlineQualities, 4);
}

TEST(Record, BaseConstructorFillsTheDefaults) {
    DefaultExtended effect;
    const EffectRecord* record = effect.effectRecord();
    EXPECT_EQ(record->magic, 0x56737450);
    EXPECT_EQ(record->programCount, 16);
    EXPECT_EQ(record->parameterCount, 8);
    EXPECT_EQ(record->inputCount, 1);
    EXPECT_EQ(record->outputCount, 2);
    EXPECT_EQ(record->flags, 0);
    EXPECT_EQ(record->uniqueId, 0x4E6F4566);
    EXPECT_EQ(record->version, 1);
    EXPECT_EQ(record->inputOutputRatio, 1.0f);
    EXPECT_EQ(record->object, &effect);
    EXPECT_EQ(record->user, nullptr);
    EXPECT_EQ(record->reserved1, 0);
    EXPECT_EQ(record->reserved2, 0);
    for (char byte : record->future)
        EXPECT_EQ(byte, 0);
}

} // namespace

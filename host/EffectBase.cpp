#include "host/EffectBase.h"

#include "host/EditorBase.h"
#include "host/Trampolines.h"

#include <cmath>
#include <cstring>

namespace {

// The meter level scaled to 0..32767 and truncated; a level that is not a
// number or out of any sensible range cannot make the conversion undefined.
IntPtr meterAnswer(float level) {
    double scaled = static_cast<double>(level) * 32767.0;
    if (!(std::fabs(scaled) < 2147483647.0))
        return 0;
    return static_cast<std::int32_t>(scaled);
}

} // namespace

EffectBase::EffectBase(HostCallback callback, std::int32_t programs, std::int32_t parameters)
    : hostCallback(callback), programCount(programs), parameterCount(parameters) {
    std::memset(&record, 0, sizeof record);
    record.magic = EffectMagic;
    record.dispatch = dispatchTrampoline;
    record.processAdding = processAddingTrampoline;
    record.setParameterValue = setParameterTrampoline;
    record.parameterValue = parameterValueTrampoline;
    record.programCount = programs;
    record.parameterCount = parameters;
    record.inputCount = 1;
    record.outputCount = 2;
    record.flags = 0;
    record.inputOutputRatio = 1.0f;
    record.object = this;
    record.uniqueId = DefaultUniqueId;
    record.version = 1;
    record.processOverwriting = processOverwritingTrampoline;
}

EffectBase::~EffectBase() {
    delete editor;
}

void EffectBase::setParameterValue(std::int32_t, float) {}
float EffectBase::parameterValue(std::int32_t) {
    return 0.0f;
}

void EffectBase::setParameterAndNotify(std::int32_t index, float value) {
    setParameterValue(index, value);
    callHost(HostAutomate, index, 0, nullptr, value);
}

void EffectBase::processOverwriting(float**, float**, std::int32_t) {}

IntPtr EffectBase::dispatch(std::int32_t opcode, std::int32_t index, IntPtr value, void* ptr,
                            float opt) {
    char* text = static_cast<char*>(ptr);
    switch (opcode) {
    case OpOpen:
        openEffect();
        return 0;
    case OpClose:
        closeEffect();
        return 0;
    case OpSetProgram:
        if (value >= 0 && value < programCount)
            selectProgram(static_cast<std::int32_t>(value));
        return 0;
    case OpGetProgram:
        return currentProgramNumber();
    // The text opcodes write into (or read from) a buffer the host supplies;
    // without one there is nothing to do.
    case OpSetProgramName:
        if (text)
            renameProgram(text);
        return 0;
    case OpGetProgramName:
        if (text)
            copyProgramName(text);
        return 0;
    case OpGetParameterUnit:
        if (text)
            copyParameterUnit(index, text);
        return 0;
    case OpGetParameterText:
        if (text)
            copyParameterText(index, text);
        return 0;
    case OpGetParameterName:
        if (text)
            copyParameterName(index, text);
        return 0;
    case OpGetMeter:
        return meterAnswer(meterLevel());
    case OpSetSampleRate:
        changeSampleRate(opt);
        return 0;
    case OpSetBlockSize:
        changeBlockSize(static_cast<std::int32_t>(value));
        return 0;
    case OpSuspendResume:
        if (value == 0)
            suspendProcessing();
        else
            resumeProcessing();
        return 0;
    case OpEditorRect:
        return editor ? editor->editorRect(static_cast<EditorRect**>(ptr)) : 0;
    case OpEditorOpen:
        return editor ? editor->openWindow(ptr) : 0;
    case OpEditorClose:
        if (editor)
            editor->closeWindow();
        return 0;
    case OpEditorIdle:
        if (editor)
            editor->onIdle();
        return 0;
    case OpIdentify:
        return IdentifyAnswer;
    case OpGetChunk:
        return saveChunk(static_cast<void**>(ptr), index != 0);
    case OpSetChunk:
        return loadChunk(ptr, static_cast<std::int32_t>(value), index != 0);
    default:
        return 0;
    }
}

void EffectBase::openEffect() {}
void EffectBase::closeEffect() {}
std::int32_t EffectBase::currentProgramNumber() {
    return currentProgram;
}
void EffectBase::selectProgram(std::int32_t number) {
    currentProgram = number;
}
void EffectBase::renameProgram(char* text) {
    text[0] = '\0';
}
void EffectBase::copyProgramName(char* text) {
    text[0] = '\0';
}
void EffectBase::copyParameterUnit(std::int32_t, char* text) {
    text[0] = '\0';
}
void EffectBase::copyParameterText(std::int32_t, char* text) {
    text[0] = '\0';
}
void EffectBase::copyParameterName(std::int32_t, char* text) {
    text[0] = '\0';
}
float EffectBase::meterLevel() {
    return 0.0f;
}
std::int32_t EffectBase::saveChunk(void**, bool) {
    return 0;
}
std::int32_t EffectBase::loadChunk(void*, std::int32_t, bool) {
    return 0;
}
void EffectBase::changeSampleRate(float rate) {
    sampleRate = rate;
}
void EffectBase::changeBlockSize(std::int32_t frames) {
    blockSize = frames;
}
void EffectBase::suspendProcessing() {}
void EffectBase::resumeProcessing() {}
void EffectBase::assignUniqueId(std::int32_t code) {
    record.uniqueId = code;
}
void EffectBase::setInputCount(std::int32_t count) {
    record.inputCount = count;
}
void EffectBase::setOutputCount(std::int32_t count) {
    record.outputCount = count;
}

void EffectBase::setFlag(std::int32_t bit, bool on) {
    if (on)
        record.flags |= bit;
    else
        record.flags &= ~bit;
}

void EffectBase::setHasMeter(bool on) {
    setFlag(HasMeter, on);
}
void EffectBase::setHasClip(bool on) {
    setFlag(HasClip, on);
}
void EffectBase::setCanMono(bool on) {
    setFlag(CanMono, on);
}
void EffectBase::setCanOverwrite(bool on) {
    setFlag(CanOverwrite, on);
}
void EffectBase::setChunkPrograms(bool on) {
    setFlag(ChunkPrograms, on);
}
void EffectBase::setRealtimeQualityCount(std::int32_t count) {
    record.realtimeQualities = count;
}
void EffectBase::setOfflineQualityCount(std::int32_t count) {
    record.offlineQualities = count;
}
void EffectBase::setInitialDelayFrames(std::int32_t frames) {
    record.initialDelay = frames;
}
float EffectBase::currentSampleRate() {
    return sampleRate;
}
std::int32_t EffectBase::currentBlockSize() {
    return blockSize;
}

void EffectBase::attachEditor(EditorBase* newEditor) {
    editor = newEditor;
    setFlag(HasEditor, newEditor != nullptr);
}

IntPtr EffectBase::callHost(std::int32_t opcode, std::int32_t index, IntPtr value, void* ptr,
                            float opt) {
    return hostCallback ? hostCallback(&record, opcode, index, value, ptr, opt) : 0;
}

std::int32_t EffectBase::hostInterfaceVersion() {
    IntPtr answer = callHost(HostVersion);
    return answer != 0 ? static_cast<std::int32_t>(answer) : 1;
}

std::int32_t EffectBase::hostCurrentUniqueId() {
    return static_cast<std::int32_t>(callHost(HostCurrentUniqueId));
}

void EffectBase::hostIdle() {
    callHost(HostIdle);
}

// A pin counts as connected unless the host says otherwise (answers non-zero).
bool EffectBase::hostInputConnected(std::int32_t index) {
    return callHost(HostPinConnected, index, 0) == 0;
}

bool EffectBase::hostOutputConnected(std::int32_t index) {
    return callHost(HostPinConnected, index, 1) == 0;
}

#pragma once
// EffectBase: the base of every effect object. It owns the record that the
// host drives, answers the interface-1.0 opcodes 0 to 24, gives a default
// for every operation, wraps the 1.0 host services and formats parameter
// values as text.

#include "host/EffectRecord.h"

#include <cstdint>

class EditorBase;

// Opcodes the host sends through the record's dispatcher (1.0 set).
enum EffectOpcode : std::int32_t {
    OpOpen = 0,
    OpClose = 1,
    OpSetProgram = 2,
    OpGetProgram = 3,
    OpSetProgramName = 4,
    OpGetProgramName = 5,
    OpGetParameterUnit = 6,
    OpGetParameterText = 7,
    OpGetParameterName = 8,
    OpGetMeter = 9,
    OpSetSampleRate = 10,
    OpSetBlockSize = 11,
    OpSuspendResume = 12,
    OpEditorRect = 13,
    OpEditorOpen = 14,
    OpEditorClose = 15,
    OpEditorIdle = 19,
    OpIdentify = 22,
    OpGetChunk = 23,
    OpSetChunk = 24,
};

// Opcodes the plug-in sends to the host through its callback.
enum HostOpcode : std::int32_t {
    HostAutomate = 0,
    HostVersion = 1,
    HostCurrentUniqueId = 2,
    HostIdle = 3,
    HostPinConnected = 4,
};

constexpr std::int32_t IdentifyAnswer = fourCharCode('N', 'v', 'E', 'f');

// Parameter display texts hold at most this many characters (plus the zero).
constexpr int DisplayTextLength = 8;
// Program names hold at most this many bytes, the terminator included.
constexpr int ProgramNameSize = 24;

class EffectBase {
  public:
    EffectBase(HostCallback callback, std::int32_t programCount, std::int32_t parameterCount);
    EffectBase(const EffectBase&) = delete;
    EffectBase& operator=(const EffectBase&) = delete;

    virtual ~EffectBase();
    virtual void setParameterValue(std::int32_t index, float value);
    virtual float parameterValue(std::int32_t index);
    virtual void setParameterAndNotify(std::int32_t index, float value);
    virtual void processAdding(float** inputs, float** outputs, std::int32_t frameCount) = 0;
    virtual void processOverwriting(float** inputs, float** outputs, std::int32_t frameCount);
    virtual IntPtr dispatch(std::int32_t opcode, std::int32_t index, IntPtr value, void* ptr,
                            float opt);
    virtual void openEffect();
    virtual void closeEffect();
    virtual std::int32_t currentProgramNumber();
    virtual void selectProgram(std::int32_t number);
    virtual void renameProgram(char* text);
    virtual void copyProgramName(char* text);
    virtual void copyParameterUnit(std::int32_t index, char* text);
    virtual void copyParameterText(std::int32_t index, char* text);
    virtual void copyParameterName(std::int32_t index, char* text);
    virtual float meterLevel();
    virtual std::int32_t saveChunk(void** data, bool isPreset);
    virtual std::int32_t loadChunk(void* data, std::int32_t byteCount, bool isPreset);
    virtual void changeSampleRate(float rate);
    virtual void changeBlockSize(std::int32_t frames);
    virtual void suspendProcessing();
    virtual void resumeProcessing();
    virtual void assignUniqueId(std::int32_t code);
    virtual void setInputCount(std::int32_t count);
    virtual void setOutputCount(std::int32_t count);
    virtual void setHasMeter(bool on);
    virtual void setHasClip(bool on);
    virtual void setCanMono(bool on);
    virtual void setCanOverwrite(bool on);
    virtual void setChunkPrograms(bool on);
    virtual void setRealtimeQualityCount(std::int32_t count);
    virtual void setOfflineQualityCount(std::int32_t count);
    virtual void setInitialDelayFrames(std::int32_t frames);
    virtual float currentSampleRate();
    virtual std::int32_t currentBlockSize();
    virtual std::int32_t hostInterfaceVersion();
    virtual std::int32_t hostCurrentUniqueId();
    virtual void hostIdle();
    virtual bool hostInputConnected(std::int32_t index);
    virtual bool hostOutputConnected(std::int32_t index);
    virtual void decibelsToText(float gain, char* text);
    virtual void samplesToHertzText(float samples, char* text);
    virtual void samplesToMillisecondsText(float samples, char* text);
    virtual void floatToText(float value, char* text);
    virtual void integerToText(std::int32_t value, char* text);

    void attachEditor(EditorBase* newEditor);
    EffectRecord* effectRecord() { return &record; }
    EditorBase* attachedEditor() const { return editor; }

  protected:
    void setFlag(std::int32_t bit, bool on);
    // Calls the host with this instance's record; 0 when there is no host.
    IntPtr callHost(std::int32_t opcode, std::int32_t index = 0, IntPtr value = 0,
                    void* ptr = nullptr, float opt = 0.0f);

    float sampleRate = 44100.0f;
    EditorBase* editor = nullptr;
    HostCallback hostCallback;
    std::int32_t programCount;
    std::int32_t parameterCount;
    std::int32_t currentProgram = 0;
    std::int32_t blockSize = 1024;
    EffectRecord record;
};

#pragma once
// ExtendedEffect: the interface-2.0 layer. Answers opcodes 25 to 58, hands
// every other opcode to EffectBase, and wraps the 2.0 host services.

#include "host/EffectBase.h"

#include <array>
#include <string_view>

// Capability words of the interface, in the order the interface lists them.
inline constexpr std::array<std::string_view, 23> PlugInCapabilities = {"sendVstEvents",
                                                                        "sendVstMidiEvent",
                                                                        "sendVstTimeInfo",
                                                                        "receiveVstEvents",
                                                                        "receiveVstMidiEvent",
                                                                        "receiveVstTimeInfo",
                                                                        "offline",
                                                                        "plugAsChannelInsert",
                                                                        "plugAsSend",
                                                                        "mixDryWet",
                                                                        "noRealTime",
                                                                        "multipass",
                                                                        "metapass",
                                                                        "1in1out",
                                                                        "1in2out",
                                                                        "2in1out",
                                                                        "2in2out",
                                                                        "2in4out",
                                                                        "4in2out",
                                                                        "4in4out",
                                                                        "4in8out",
                                                                        "8in4out",
                                                                        "8in8out"};
inline constexpr std::array<std::string_view, 13> HostCapabilities = {"sendVstEvents",
                                                                      "sendVstMidiEvent",
                                                                      "sendVstTimeInfo",
                                                                      "receiveVstEvents",
                                                                      "receiveVstMidiEvent",
                                                                      "receiveVstTimeInfo",
                                                                      "reportConnectionChanges",
                                                                      "acceptIOChanges",
                                                                      "sizeWindow",
                                                                      "asyncProcessing",
                                                                      "offline",
                                                                      "supplyIdle",
                                                                      "supportShell"};

// 2.0 dispatcher opcodes that carry text or a reply worth naming.
enum ExtendedOpcode : std::int32_t {
    OpProcessEvents = 25,
    OpCanBeAutomated = 26,
    OpParameterFromText = 27,
    OpEffectName = 45,
    OpErrorText = 46,
    OpVendorText = 47,
    OpProductText = 48,
    OpCanDo = 51,
    OpKeysRequired = 57,
    OpInterfaceVersion = 58,
};

class ExtendedEffect : public EffectBase {
  public:
    ExtendedEffect(HostCallback callback, std::int32_t programCount, std::int32_t parameterCount)
        : EffectBase(callback, programCount, parameterCount) {}
    ~ExtendedEffect() override = default;

    IntPtr dispatch(std::int32_t opcode, std::int32_t index, IntPtr value, void* ptr,
                    float opt) override;

    virtual std::int32_t hostRequestEvents(std::int32_t filter);
    virtual void* hostTimeInfo(std::int32_t mask);
    virtual std::int32_t hostTempoAt(std::int32_t samplePosition);
    virtual std::int32_t processEventList(void* events);
    virtual std::int32_t hostAutomatableParameterCount();
    virtual std::int32_t hostParameterQuantization();
    virtual bool parameterAutomatable(std::int32_t index);
    virtual bool parameterFromText(std::int32_t index, char* text);
    virtual float channelParameterValue(std::int32_t channel, std::int32_t index);
    virtual std::int32_t programCategoryCount();
    virtual bool copyIndexedProgramName(std::int32_t category, std::int32_t index, char* text);
    virtual bool duplicateProgram(std::int32_t destination);
    virtual bool hostInputsChanged();
    virtual bool hostNeedsIdle();
    virtual bool hostResizeWindow(std::int32_t width, std::int32_t height);
    virtual float refreshSampleRate();
    virtual std::int32_t refreshBlockSize();
    virtual std::int32_t hostInputLatency();
    virtual std::int32_t hostOutputLatency();
    virtual void* hostPreviousPlugIn(std::int32_t pin);
    virtual void* hostNextPlugIn(std::int32_t pin);
    virtual void inputConnectionChanged(std::int32_t index, bool connected);
    virtual void outputConnectionChanged(std::int32_t index, bool connected);
    virtual bool copyInputProperties(std::int32_t index, void* properties);
    virtual bool copyOutputProperties(std::int32_t index, void* properties);
    virtual std::int32_t plugInCategory();
    virtual std::int32_t hostWillOverwrite();
    virtual std::int32_t hostProcessLevel();
    virtual std::int32_t hostAutomationState();
    virtual void setAsyncProcessing(bool on);
    virtual void setExternalBuffer(bool on);
    virtual std::int32_t currentPosition();
    virtual void* destinationBuffer();
    virtual bool hostOfflineRead(void* task, std::int32_t option, bool readSource);
    virtual bool hostOfflineWrite(void* task, std::int32_t option);
    virtual bool hostOfflineStart(void* files, std::int32_t fileCount, std::int32_t newFileCount);
    virtual std::int32_t hostOfflineCurrentPass();
    virtual std::int32_t hostOfflineCurrentMetaPass();
    virtual bool offlineNotify(void* files, std::int32_t fileCount, bool start);
    virtual bool offlinePrepare(void* tasks, std::int32_t count);
    virtual bool offlineRun(void* tasks, std::int32_t count);
    virtual std::int32_t offlinePassCount();
    virtual std::int32_t offlineMetaPassCount();
    virtual std::int32_t hostSetOutputSampleRate(float rate);
    virtual bool hostSpeakerArrangement(void* input, void* output);
    virtual bool hostVendorText(char* text);
    virtual bool hostProductText(char* text);
    virtual std::int32_t hostVendorVersion();
    virtual std::int32_t hostVendorSpecific(std::int32_t index, IntPtr value, void* ptr, float opt);
    virtual bool hostCanDo(char* text);
    virtual void setIsInstrument(bool on);
    virtual void setSilentWhenStopped(bool on);
    virtual std::int32_t hostLanguage();
    virtual IntPtr hostOpenWindow(void* description);
    virtual bool hostCloseWindow(void* description);
    virtual void* hostDirectory();
    virtual bool hostUpdateDisplay();
    virtual bool processVariableIo(void* io);
    virtual bool applySpeakerArrangement(void* input, void* output);
    virtual void changeBlockSizeAndSampleRate(std::int32_t frames, float rate);
    virtual bool applyBypass(bool on);
    virtual bool copyEffectName(char* text);
    virtual bool copyErrorText(char* text);
    virtual bool copyVendorText(char* text);
    virtual bool copyProductText(char* text);
    virtual std::int32_t vendorVersion();
    virtual std::int32_t vendorRequest(std::int32_t index, IntPtr value, void* ptr, float opt);
    virtual std::int32_t capabilityAnswer(char* text);
    virtual void* iconHandle();
    virtual bool moveView(std::int32_t x, std::int32_t y);
    virtual std::int32_t tailSize();
    virtual std::int32_t idleEffect();
    virtual bool copyParameterProperties(std::int32_t index, void* properties);
    virtual bool needsKeys();
    virtual std::int32_t interfaceVersion();
};

#include "host/ExtendedEffect.h"

namespace {

IntPtr boolAnswer(bool value) {
    return value ? 1 : 0;
}

} // namespace

IntPtr ExtendedEffect::dispatch(std::int32_t opcode, std::int32_t index, IntPtr value, void* ptr,
                                float opt) {
    char* text = static_cast<char*>(ptr);
    std::int32_t value32 = static_cast<std::int32_t>(value);
    switch (opcode) {
    case 25:
        return processEventList(ptr);
    case 26:
        return boolAnswer(parameterAutomatable(index));
    case 27:
        return text ? boolAnswer(parameterFromText(index, text)) : 0;
    case 28:
        return programCategoryCount();
    case 29:
        return text ? boolAnswer(copyIndexedProgramName(value32, index, text)) : 0;
    case 30:
        return boolAnswer(duplicateProgram(index));
    case 31:
        inputConnectionChanged(index, value != 0);
        return 1;
    case 32:
        outputConnectionChanged(index, value != 0);
        return 1;
    case 33:
        return boolAnswer(copyInputProperties(index, ptr));
    case 34:
        return boolAnswer(copyOutputProperties(index, ptr));
    case 35:
        return plugInCategory();
    case 36:
        return currentPosition();
    case 37:
        return reinterpret_cast<IntPtr>(destinationBuffer());
    case 38:
        return boolAnswer(offlineNotify(ptr, value32, index != 0));
    case 39:
        return boolAnswer(offlinePrepare(ptr, value32));
    case 40:
        return boolAnswer(offlineRun(ptr, value32));
    case 41:
        return boolAnswer(processVariableIo(ptr));
    case 42:
        return boolAnswer(applySpeakerArrangement(reinterpret_cast<void*>(value), ptr));
    case 43:
        changeBlockSizeAndSampleRate(value32, opt);
        return 1;
    case 44:
        return boolAnswer(applyBypass(value != 0));
    case OpEffectName:
        return text ? boolAnswer(copyEffectName(text)) : 0;
    case OpErrorText:
        return text ? boolAnswer(copyErrorText(text)) : 0;
    case OpVendorText:
        return text ? boolAnswer(copyVendorText(text)) : 0;
    case OpProductText:
        return text ? boolAnswer(copyProductText(text)) : 0;
    case 49:
        return vendorVersion();
    case 50:
        return vendorRequest(index, value, ptr, opt);
    case OpCanDo:
        return text ? capabilityAnswer(text) : 0;
    case 52:
        return tailSize();
    case 53:
        return idleEffect();
    case 54:
        return reinterpret_cast<IntPtr>(iconHandle());
    case 55:
        return boolAnswer(moveView(index, value32));
    case 56:
        return boolAnswer(copyParameterProperties(index, ptr));
    case OpKeysRequired:
        return needsKeys() ? 0 : 1;
    case OpInterfaceVersion:
        return interfaceVersion();
    default:
        return EffectBase::dispatch(opcode, index, value, ptr, opt);
    }
}

// Host services of the 2.0 interface. Without a host callback each answers
// 0, false or null.

std::int32_t ExtendedEffect::hostRequestEvents(std::int32_t filter) {
    return static_cast<std::int32_t>(callHost(6, 0, filter));
}
void* ExtendedEffect::hostTimeInfo(std::int32_t mask) {
    return reinterpret_cast<void*>(callHost(7, 0, mask));
}
std::int32_t ExtendedEffect::hostTempoAt(std::int32_t samplePosition) {
    return static_cast<std::int32_t>(callHost(10, 0, samplePosition));
}
std::int32_t ExtendedEffect::processEventList(void*) {
    return 0;
}
std::int32_t ExtendedEffect::hostAutomatableParameterCount() {
    return static_cast<std::int32_t>(callHost(11));
}
std::int32_t ExtendedEffect::hostParameterQuantization() {
    return static_cast<std::int32_t>(callHost(12));
}
bool ExtendedEffect::parameterAutomatable(std::int32_t) {
    return true;
}
bool ExtendedEffect::parameterFromText(std::int32_t, char*) {
    return false;
}
float ExtendedEffect::channelParameterValue(std::int32_t, std::int32_t) {
    return 0.0f;
}
std::int32_t ExtendedEffect::programCategoryCount() {
    return 1;
}
bool ExtendedEffect::copyIndexedProgramName(std::int32_t, std::int32_t, char*) {
    return false;
}
bool ExtendedEffect::duplicateProgram(std::int32_t) {
    return false;
}
bool ExtendedEffect::hostInputsChanged() {
    return callHost(13) != 0;
}
bool ExtendedEffect::hostNeedsIdle() {
    return callHost(14) != 0;
}
bool ExtendedEffect::hostResizeWindow(std::int32_t width, std::int32_t height) {
    return callHost(15, width, height) != 0;
}
// The host answers by setting the rate or block size through the dispatcher;
// what it returns itself is not used.
float ExtendedEffect::refreshSampleRate() {
    callHost(16);
    return sampleRate;
}
std::int32_t ExtendedEffect::refreshBlockSize() {
    callHost(17);
    return blockSize;
}
std::int32_t ExtendedEffect::hostInputLatency() {
    return static_cast<std::int32_t>(callHost(18));
}
std::int32_t ExtendedEffect::hostOutputLatency() {
    return static_cast<std::int32_t>(callHost(19));
}
void* ExtendedEffect::hostPreviousPlugIn(std::int32_t) {
    return reinterpret_cast<void*>(callHost(20));
}
void* ExtendedEffect::hostNextPlugIn(std::int32_t) {
    return reinterpret_cast<void*>(callHost(21));
}
void ExtendedEffect::inputConnectionChanged(std::int32_t, bool) {}
void ExtendedEffect::outputConnectionChanged(std::int32_t, bool) {}
bool ExtendedEffect::copyInputProperties(std::int32_t, void*) {
    return false;
}
bool ExtendedEffect::copyOutputProperties(std::int32_t, void*) {
    return false;
}
std::int32_t ExtendedEffect::plugInCategory() {
    return (record.flags & IsInstrument) ? 2 : 0;
}
std::int32_t ExtendedEffect::hostWillOverwrite() {
    return static_cast<std::int32_t>(callHost(22));
}
std::int32_t ExtendedEffect::hostProcessLevel() {
    return static_cast<std::int32_t>(callHost(23));
}
std::int32_t ExtendedEffect::hostAutomationState() {
    return static_cast<std::int32_t>(callHost(24));
}
void ExtendedEffect::setAsyncProcessing(bool on) {
    setFlag(AsyncProcessing, on);
}
void ExtendedEffect::setExternalBuffer(bool on) {
    setFlag(ExternalBuffer, on);
}
std::int32_t ExtendedEffect::currentPosition() {
    return 0;
}
void* ExtendedEffect::destinationBuffer() {
    return nullptr;
}
bool ExtendedEffect::hostOfflineRead(void* task, std::int32_t option, bool readSource) {
    return callHost(26, readSource ? 1 : 0, option, task) != 0;
}
bool ExtendedEffect::hostOfflineWrite(void* task, std::int32_t option) {
    return callHost(27, 0, option, task) != 0;
}
bool ExtendedEffect::hostOfflineStart(void* files, std::int32_t fileCount,
                                      std::int32_t newFileCount) {
    return callHost(25, newFileCount, fileCount, files) != 0;
}
std::int32_t ExtendedEffect::hostOfflineCurrentPass() {
    return callHost(28) != 0 ? 1 : 0;
}
std::int32_t ExtendedEffect::hostOfflineCurrentMetaPass() {
    return callHost(29) != 0 ? 1 : 0;
}
bool ExtendedEffect::offlineNotify(void*, std::int32_t, bool) {
    return false;
}
bool ExtendedEffect::offlinePrepare(void*, std::int32_t) {
    return false;
}
bool ExtendedEffect::offlineRun(void*, std::int32_t) {
    return false;
}
std::int32_t ExtendedEffect::offlinePassCount() {
    return 0;
}
std::int32_t ExtendedEffect::offlineMetaPassCount() {
    return 0;
}
std::int32_t ExtendedEffect::hostSetOutputSampleRate(float rate) {
    return static_cast<std::int32_t>(callHost(30, 0, 0, nullptr, rate));
}
bool ExtendedEffect::hostSpeakerArrangement(void* input, void* output) {
    return callHost(31, 0, reinterpret_cast<IntPtr>(input), output) != 0;
}
bool ExtendedEffect::hostVendorText(char* text) {
    return callHost(32, 0, 0, text) != 0;
}
bool ExtendedEffect::hostProductText(char* text) {
    return callHost(33, 0, 0, text) != 0;
}
std::int32_t ExtendedEffect::hostVendorVersion() {
    return static_cast<std::int32_t>(callHost(34));
}
std::int32_t ExtendedEffect::hostVendorSpecific(std::int32_t index, IntPtr value, void* ptr,
                                                float opt) {
    return static_cast<std::int32_t>(callHost(35, index, value, ptr, opt));
}
bool ExtendedEffect::hostCanDo(char* text) {
    return callHost(37, 0, 0, text) != 0;
}
void ExtendedEffect::setIsInstrument(bool on) {
    setFlag(IsInstrument, on);
}
void ExtendedEffect::setSilentWhenStopped(bool on) {
    setFlag(SilentWhenStopped, on);
}
std::int32_t ExtendedEffect::hostLanguage() {
    return static_cast<std::int32_t>(callHost(38));
}
IntPtr ExtendedEffect::hostOpenWindow(void* description) {
    return callHost(39, 0, 0, description);
}
bool ExtendedEffect::hostCloseWindow(void* description) {
    return callHost(40, 0, 0, description) != 0;
}
void* ExtendedEffect::hostDirectory() {
    return reinterpret_cast<void*>(callHost(41));
}
bool ExtendedEffect::hostUpdateDisplay() {
    return callHost(42) != 0;
}
bool ExtendedEffect::processVariableIo(void*) {
    return false;
}
bool ExtendedEffect::applySpeakerArrangement(void*, void*) {
    return false;
}
void ExtendedEffect::changeBlockSizeAndSampleRate(std::int32_t frames, float rate) {
    blockSize = frames;
    sampleRate = rate;
}
bool ExtendedEffect::applyBypass(bool) {
    return false;
}
bool ExtendedEffect::copyEffectName(char*) {
    return false;
}
bool ExtendedEffect::copyErrorText(char*) {
    return false;
}
bool ExtendedEffect::copyVendorText(char*) {
    return false;
}
bool ExtendedEffect::copyProductText(char*) {
    return false;
}
std::int32_t ExtendedEffect::vendorVersion() {
    return 0;
}
std::int32_t ExtendedEffect::vendorRequest(std::int32_t, IntPtr, void*, float) {
    return 0;
}
std::int32_t ExtendedEffect::capabilityAnswer(char*) {
    return 0;
}
void* ExtendedEffect::iconHandle() {
    return nullptr;
}
bool ExtendedEffect::moveView(std::int32_t, std::int32_t) {
    return false;
}
std::int32_t ExtendedEffect::tailSize() {
    return 0;
}
std::int32_t ExtendedEffect::idleEffect() {
    return 0;
}
bool ExtendedEffect::copyParameterProperties(std::int32_t, void*) {
    return false;
}
bool ExtendedEffect::needsKeys() {
    return false;
}
std::int32_t ExtendedEffect::interfaceVersion() {
    return 2;
}

#pragma once
// An effect that records which operation each opcode reached, and with
// which arguments, so the dispatch tables can be checked opcode by opcode.

#include "host/ExtendedEffect.h"

#include <cstdio>
#include <string>

class SpyEffect : public ExtendedEffect {
  public:
    explicit SpyEffect(HostCallback callback = nullptr) : ExtendedEffect(callback, 16, 8) {}

    std::string calls;
    float meter = 0.0f;
    bool keysNeeded = false;

    void setParameterValue(std::int32_t i, float) override { log("setParameterValue", i); }
    void processAdding(float**, float**, std::int32_t) override { log("processAdding"); }
    void processOverwriting(float**, float**, std::int32_t) override { log("processOverwriting"); }
    void openEffect() override { log("openEffect"); }
    void closeEffect() override { log("closeEffect"); }
    void selectProgram(std::int32_t n) override {
        log("selectProgram", n);
        ExtendedEffect::selectProgram(n);
    }
    void renameProgram(char*) override { log("renameProgram"); }
    void copyProgramName(char* t) override { write(t, "copyProgramName"); }
    void copyParameterUnit(std::int32_t i, char* t) override { write(t, "copyParameterUnit", i); }
    void copyParameterText(std::int32_t i, char* t) override { write(t, "copyParameterText", i); }
    void copyParameterName(std::int32_t i, char* t) override { write(t, "copyParameterName", i); }
    float meterLevel() override { return meter; }
    std::int32_t saveChunk(void**, bool preset) override {
        log("saveChunk", preset);
        return 77;
    }
    std::int32_t loadChunk(void*, std::int32_t n, bool preset) override {
        log("loadChunk", n, preset);
        return 5;
    }
    void changeSampleRate(float r) override {
        log("changeSampleRate", static_cast<int>(r));
        ExtendedEffect::changeSampleRate(r);
    }
    void changeBlockSize(std::int32_t n) override { log("changeBlockSize", n); }
    void suspendProcessing() override { log("suspendProcessing"); }
    void resumeProcessing() override { log("resumeProcessing"); }

    std::int32_t processEventList(void*) override { return log("processEventList"), 11; }
    bool parameterAutomatable(std::int32_t i) override {
        return log("parameterAutomatable", i), true;
    }
    bool parameterFromText(std::int32_t i, char*) override {
        return log("parameterFromText", i), true;
    }
    std::int32_t programCategoryCount() override { return log("programCategoryCount"), 3; }
    bool copyIndexedProgramName(std::int32_t c, std::int32_t i, char*) override {
        return log("copyIndexedProgramName", c, i), true;
    }
    bool duplicateProgram(std::int32_t d) override { return log("duplicateProgram", d), true; }
    void inputConnectionChanged(std::int32_t i, bool c) override {
        log("inputConnectionChanged", i, c);
    }
    void outputConnectionChanged(std::int32_t i, bool c) override {
        log("outputConnectionChanged", i, c);
    }
    bool copyInputProperties(std::int32_t i, void*) override {
        return log("copyInputProperties", i), true;
    }
    bool copyOutputProperties(std::int32_t i, void*) override {
        return log("copyOutputProperties", i), false;
    }
    std::int32_t plugInCategory() override { return log("plugInCategory"), 4; }
    std::int32_t currentPosition() override { return log("currentPosition"), 12; }
    void* destinationBuffer() override { return log("destinationBuffer"), nullptr; }
    bool offlineNotify(void*, std::int32_t n, bool start) override {
        return log("offlineNotify", n, start), true;
    }
    bool offlinePrepare(void*, std::int32_t n) override { return log("offlinePrepare", n), true; }
    bool offlineRun(void*, std::int32_t n) override { return log("offlineRun", n), true; }
    bool processVariableIo(void*) override { return log("processVariableIo"), true; }
    bool applySpeakerArrangement(void* in, void*) override {
        return log("applySpeakerArrangement", static_cast<int>(reinterpret_cast<IntPtr>(in))), true;
    }
    void changeBlockSizeAndSampleRate(std::int32_t n, float r) override {
        log("changeBlockSizeAndSampleRate", n, static_cast<int>(r));
        ExtendedEffect::changeBlockSizeAndSampleRate(n, r);
    }
    bool applyBypass(bool on) override { return log("applyBypass", on), true; }
    bool copyEffectName(char*) override { return log("copyEffectName"), true; }
    bool copyErrorText(char*) override { return log("copyErrorText"), true; }
    bool copyVendorText(char*) override { return log("copyVendorText"), true; }
    bool copyProductText(char*) override { return log("copyProductText"), true; }
    std::int32_t vendorVersion() override { return log("vendorVersion"), 13; }
    std::int32_t vendorRequest(std::int32_t i, IntPtr v, void*, float) override {
        return log("vendorRequest", i, static_cast<int>(v)), 14;
    }
    std::int32_t capabilityAnswer(char*) override { return log("capabilityAnswer"), 15; }
    std::int32_t tailSize() override { return log("tailSize"), 16; }
    std::int32_t idleEffect() override { return log("idleEffect"), 17; }
    void* iconHandle() override { return log("iconHandle"), nullptr; }
    bool moveView(std::int32_t x, std::int32_t y) override { return log("moveView", x, y), true; }
    bool copyParameterProperties(std::int32_t i, void*) override {
        return log("copyParameterProperties", i), true;
    }
    bool needsKeys() override { return log("needsKeys"), keysNeeded; }
    std::int32_t interfaceVersion() override { return log("interfaceVersion"), 18; }

    using EffectBase::callHost;

  private:
    void log(const char* name) { calls += std::string(name) + "();"; }
    void log(const char* name, int a) {
        calls += std::string(name) + "(" + std::to_string(a) + ");";
    }
    void log(const char* name, int a, int b) {
        calls += std::string(name) + "(" + std::to_string(a) + "," + std::to_string(b) + ");";
    }
    void log(const char* name, int a, int b, int c) {
        calls += std::string(name) + "(" + std::to_string(a) + "," + std::to_string(b) + "," +
                 std::to_string(c) + ");";
    }
    void write(char* text, const char* name, int index = -1) {
        std::snprintf(text, 9, "%.5s%d", name, index);
        log(name, index);
    }
};

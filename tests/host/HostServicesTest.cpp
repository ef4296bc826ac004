#include "SpyEffect.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

struct HostCall {
    EffectRecord* record;
    std::int32_t opcode;
    std::int32_t index;
    IntPtr value;
    void* ptr;
    float opt;
};

std::vector<HostCall> hostCalls;
IntPtr hostAnswer = 0;

IntPtr VARNEX_CALL recordingHost(EffectRecord* record, std::int32_t opcode, std::int32_t index,
                                 IntPtr value, void* ptr, float opt) {
    hostCalls.push_back({record, opcode, index, value, ptr, opt});
    return hostAnswer;
}

class HostServices : public ::testing::Test {
  protected:
    void SetUp() override {
        hostCalls.clear();
        hostAnswer = 0;
    }
    SpyEffect effect{recordingHost};
    SpyEffect unhosted{nullptr};

    // The single call the last service made.
    HostCall onlyCall() {
        EXPECT_EQ(hostCalls.size(), 1u);
        HostCall call = hostCalls.empty() ? HostCall{} : hostCalls.back();
        EXPECT_EQ(call.record, effect.effectRecord());
        hostCalls.clear();
        return call;
    }
};

constexpr IntPtr AnyValue = -12345;

struct ServiceCase {
    const char* name;
    std::int32_t opcode;
    std::int32_t index;
    IntPtr value;
    std::function<IntPtr(ExtendedEffect&, char*)> call;
};

TEST_F(HostServices, EachWrapperSendsItsOpcodeAndArguments) {
    char text[16] = "x";
    char files[4], task[4], in[4], out[4], window[4];
    // The host's answer (7) is passed back as the wrapper's result: unchanged
    // for plain answers, as 1 for bool answers.
    const std::vector<ServiceCase> cases = {
        {"hostRequestEvents", 6, 0, 3, [](auto& e, char*) { return e.hostRequestEvents(3); }},
        {"hostTimeInfo", 7, 0, 9,
         [](auto& e, char*) { return reinterpret_cast<IntPtr>(e.hostTimeInfo(9)); }},
        {"hostTempoAt", 10, 0, 44, [](auto& e, char*) { return e.hostTempoAt(44); }},
        {"hostAutomatableParameterCount", 11, 0, 0,
         [](auto& e, char*) { return e.hostAutomatableParameterCount(); }},
        {"hostParameterQuantization", 12, 0, 0,
         [](auto& e, char*) { return e.hostParameterQuantization(); }},
        {"hostInputsChanged", 13, 0, 0,
         [](auto& e, char*) { return e.hostInputsChanged() ? 7 : 0; }},
        {"hostNeedsIdle", 14, 0, 0, [](auto& e, char*) { return e.hostNeedsIdle() ? 7 : 0; }},
        {"hostResizeWindow", 15, 568, 290,
         [](auto& e, char*) { return e.hostResizeWindow(568, 290) ? 7 : 0; }},
        {"hostInputLatency", 18, 0, 0, [](auto& e, char*) { return e.hostInputLatency(); }},
        {"hostOutputLatency", 19, 0, 0, [](auto& e, char*) { return e.hostOutputLatency(); }},
        {"hostPreviousPlugIn", 20, 0, 0,
         [](auto& e, char*) { return reinterpret_cast<IntPtr>(e.hostPreviousPlugIn(3)); }},
        {"hostNextPlugIn", 21, 0, 0,
         [](auto& e, char*) { return reinterpret_cast<IntPtr>(e.hostNextPlugIn(3)); }},
        {"hostWillOverwrite", 22, 0, 0, [](auto& e, char*) { return e.hostWillOverwrite(); }},
        {"hostProcessLevel", 23, 0, 0, [](auto& e, char*) { return e.hostProcessLevel(); }},
        {"hostAutomationState", 24, 0, 0, [](auto& e, char*) { return e.hostAutomationState(); }},
        {"hostOfflineStart", 25, 2, 5,
         [&](auto& e, char*) { return e.hostOfflineStart(files, 5, 2) ? 7 : 0; }},
        {"hostOfflineRead", 26, 1, 4,
         [&](auto& e, char*) { return e.hostOfflineRead(task, 4, true) ? 7 : 0; }},
        {"hostOfflineWrite", 27, 0, 4,
         [&](auto& e, char*) { return e.hostOfflineWrite(task, 4) ? 7 : 0; }},
        {"hostOfflineCurrentPass", 28, 0, 0,
         [](auto& e, char*) { return e.hostOfflineCurrentPass() == 1 ? 7 : 0; }},
        {"hostOfflineCurrentMetaPass", 29, 0, 0,
         [](auto& e, char*) { return e.hostOfflineCurrentMetaPass() == 1 ? 7 : 0; }},
        {"hostSetOutputSampleRate", 30, 0, 0,
         [](auto& e, char*) { return e.hostSetOutputSampleRate(96000.0f); }},
        {"hostSpeakerArrangement", 31, 0, AnyValue,
         [&](auto& e, char*) { return e.hostSpeakerArrangement(in, out) ? 7 : 0; }},
        {"hostVendorText", 32, 0, 0, [](auto& e, char* t) { return e.hostVendorText(t) ? 7 : 0; }},
        {"hostProductText", 33, 0, 0,
         [](auto& e, char* t) { return e.hostProductText(t) ? 7 : 0; }},
        {"hostVendorVersion", 34, 0, 0, [](auto& e, char*) { return e.hostVendorVersion(); }},
        {"hostVendorSpecific", 35, 8, 9,
         [](auto& e, char* t) { return e.hostVendorSpecific(8, 9, t, 0.5f); }},
        {"hostCanDo", 37, 0, 0, [](auto& e, char* t) { return e.hostCanDo(t) ? 7 : 0; }},
        {"hostLanguage", 38, 0, 0, [](auto& e, char*) { return e.hostLanguage(); }},
        {"hostOpenWindow", 39, 0, 0, [&](auto& e, char*) { return e.hostOpenWindow(window); }},
        {"hostCloseWindow", 40, 0, 0,
         [&](auto& e, char*) { return e.hostCloseWindow(window) ? 7 : 0; }},
        {"hostDirectory", 41, 0, 0,
         [](auto& e, char*) { return reinterpret_cast<IntPtr>(e.hostDirectory()); }},
        {"hostUpdateDisplay", 42, 0, 0,
         [](auto& e, char*) { return e.hostUpdateDisplay() ? 7 : 0; }},
    };
    for (const ServiceCase& c : cases) {
        hostAnswer = 7;
        IntPtr result = c.call(effect, text);
        HostCall call = onlyCall();
        EXPECT_EQ(call.opcode, c.opcode) << c.name;
        EXPECT_EQ(call.index, c.index) << c.name;
        if (c.value != AnyValue) {
            EXPECT_EQ(call.value, c.value) << c.name;
        }
        EXPECT_EQ(result, 7) << c.name;

        hostAnswer = 0;
        EXPECT_EQ(c.call(effect, text), 0) << c.name;
        hostCalls.clear();
        EXPECT_EQ(c.call(unhosted, text), 0) << c.name << " without a host";
        EXPECT_TRUE(hostCalls.empty());
    }
}

TEST_F(HostServices, PointerAndFloatArgumentsReachTheHost) {
    char text[8] = "2in2out";
    effect.hostCanDo(text);
    EXPECT_EQ(onlyCall().ptr, text);
    effect.hostSetOutputSampleRate(96000.0f);
    EXPECT_EQ(onlyCall().opt, 96000.0f);
    char in[4], out[4];
    effect.hostSpeakerArrangement(in, out);
    HostCall call = onlyCall();
    EXPECT_EQ(call.value, reinterpret_cast<IntPtr>(in));
    EXPECT_EQ(call.ptr, out);
    effect.hostVendorSpecific(1, 2, text, 0.25f);
    call = onlyCall();
    EXPECT_EQ(call.ptr, text);
    EXPECT_EQ(call.opt, 0.25f);
}

TEST_F(HostServices, InterfaceVersionFallsBackToOne) {
    hostAnswer = 2400;
    EXPECT_EQ(effect.hostInterfaceVersion(), 2400);
    EXPECT_EQ(onlyCall().opcode, HostVersion);
    hostAnswer = 0;
    EXPECT_EQ(effect.hostInterfaceVersion(), 1);
    EXPECT_EQ(unhosted.hostInterfaceVersion(), 1);
}

TEST_F(HostServices, UniqueIdAndIdle) {
    hostAnswer = 1234;
    EXPECT_EQ(effect.hostCurrentUniqueId(), 1234);
    EXPECT_EQ(onlyCall().opcode, HostCurrentUniqueId);
    effect.hostIdle();
    EXPECT_EQ(onlyCall().opcode, HostIdle);
    unhosted.hostIdle();
    EXPECT_TRUE(hostCalls.empty());
    EXPECT_EQ(unhosted.hostCurrentUniqueId(), 0);
}

TEST_F(HostServices, PinsAreConnectedUnlessTheHostSaysOtherwise) {
    hostAnswer = 0;
    EXPECT_TRUE(effect.hostInputConnected(1));
    HostCall call = onlyCall();
    EXPECT_EQ(call.opcode, HostPinConnected);
    EXPECT_EQ(call.index, 1);
    EXPECT_EQ(call.value, 0);
    hostAnswer = 1;
    EXPECT_FALSE(effect.hostOutputConnected(0));
    EXPECT_EQ(onlyCall().value, 1);
    EXPECT_TRUE(unhosted.hostInputConnected(0));
    EXPECT_TRUE(unhosted.hostOutputConnected(0));
}

TEST_F(HostServices, RefreshReturnsTheStoredValuesNotTheHostsAnswer) {
    hostAnswer = 12345;
    EXPECT_EQ(effect.refreshSampleRate(), 44100.0f);
    EXPECT_EQ(onlyCall().opcode, 16);
    EXPECT_EQ(effect.refreshBlockSize(), 1024);
    EXPECT_EQ(onlyCall().opcode, 17);
}

TEST_F(HostServices, SetParameterAndNotifyAutomatesAfterSetting) {
    effect.setParameterAndNotify(3, 0.75f);
    HostCall call = onlyCall();
    EXPECT_EQ(call.opcode, HostAutomate);
    EXPECT_EQ(call.index, 3);
    EXPECT_EQ(call.value, 0);
    EXPECT_EQ(call.ptr, nullptr);
    EXPECT_EQ(call.opt, 0.75f);
    EXPECT_EQ(effect.calls, "setParameterValue(3);");
    unhosted.setParameterAndNotify(3, 0.75f);
    EXPECT_TRUE(hostCalls.empty());
}

} // namespace

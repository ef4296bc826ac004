#include "SpyEffect.h"

#include "host/Entry.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

int liveInstances = 0;
int closeCalls = 0;
int instancesAtClose = 0;
int hostVersionQueries = 0;
IntPtr versionAnswer = 2400;
// When set, the next instance behaves as one whose editor could not be made.
bool failEditorAllocation = false;

class CountedEffect : public SpyEffect {
  public:
    explicit CountedEffect(HostCallback callback) : SpyEffect(callback) { ++liveInstances; }
    ~CountedEffect() override { --liveInstances; }
    void closeEffect() override {
        ++closeCalls;
        instancesAtClose = liveInstances;
    }
};

IntPtr VARNEX_CALL versionHost(EffectRecord* record, std::int32_t opcode, std::int32_t, IntPtr,
                               void*, float) {
    if (opcode == HostVersion && record == nullptr)
        ++hostVersionQueries;
    return opcode == HostVersion ? versionAnswer : 0;
}

class Entry : public ::testing::Test {
  protected:
    void SetUp() override {
        liveInstances = 0;
        closeCalls = 0;
        hostVersionQueries = 0;
        versionAnswer = 2400;
        failEditorAllocation = false;
    }
};

TEST_F(Entry, HostWithoutAVersionGetsNothing) {
    versionAnswer = 0;
    EXPECT_EQ(pluginMain(versionHost), nullptr);
    EXPECT_EQ(liveInstances, 0);
    EXPECT_EQ(pluginMain(nullptr), nullptr);
    EXPECT_EQ(liveInstances, 0);
}

TEST_F(Entry, MainAsksForTheVersionAndReturnsTheRecord) {
    EffectRecord* record = pluginMain(versionHost);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(hostVersionQueries, 1);
    EXPECT_EQ(liveInstances, 1);
    EXPECT_EQ(record->magic, EffectMagic);
    auto* effect = static_cast<EffectBase*>(record->object);
    EXPECT_EQ(effect->effectRecord(), record);
    EXPECT_EQ(record->dispatch(record, OpClose, 0, 0, nullptr, 0), 1);
    EXPECT_EQ(closeCalls, 1);
    EXPECT_EQ(instancesAtClose, 1) << "close reaches the effect before it is destroyed";
    EXPECT_EQ(liveInstances, 0);
}

TEST_F(Entry, TrampolinesReachTheObject) {
    EffectRecord* record = pluginMain(versionHost);
    ASSERT_NE(record, nullptr);
    auto* effect = static_cast<CountedEffect*>(record->object);
    float left[4] = {}, right[4] = {};
    float* channels[2] = {left, right};
    record->processAdding(record, channels, channels, 4);
    record->processOverwriting(record, channels, channels, 4);
    record->setParameterValue(record, 5, 0.5f);
    EXPECT_EQ(record->parameterValue(record, 5), 0.0f);
    EXPECT_EQ(record->dispatch(record, OpGetProgram, 0, 0, nullptr, 0), 0);
    EXPECT_EQ(record->dispatch(record, OpInterfaceVersion, 0, 0, nullptr, 0), 18);
    EXPECT_EQ(effect->calls,
              "processAdding();processOverwriting();setParameterValue(5);interfaceVersion();");
    EXPECT_EQ(liveInstances, 1) << "only opcode 1 destroys the instance";
    record->dispatch(record, OpClose, 0, 0, nullptr, 0);
}

TEST_F(Entry, InstancesAreIndependent) {
    EffectRecord* first = pluginMain(versionHost);
    EffectRecord* second = pluginMain(versionHost);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_NE(first->object, second->object);
    first->dispatch(first, OpSetProgram, 0, 9, nullptr, 0);
    EXPECT_EQ(second->dispatch(second, OpGetProgram, 0, 0, nullptr, 0), 0);
    first->dispatch(first, OpClose, 0, 0, nullptr, 0);
    EXPECT_EQ(liveInstances, 1);
    EXPECT_EQ(second->dispatch(second, OpInterfaceVersion, 0, 0, nullptr, 0), 18);
    second->dispatch(second, OpClose, 0, 0, nullptr, 0);
    EXPECT_EQ(liveInstances, 0);
}

TEST_F(Entry, OutOfMemoryFailsThisAndEveryLaterInstance) {
    failEditorAllocation = true;
    EXPECT_EQ(pluginMain(versionHost), nullptr);
    EXPECT_EQ(liveInstances, 0) << "the half-made instance is destroyed";
    failEditorAllocation = false;
    EXPECT_EQ(pluginMain(versionHost), nullptr);
    EXPECT_EQ(liveInstances, 0);
    outOfMemory = false; // restore for any test that runs after this one
}

TEST_F(Entry, LoadHookRecordsTheModuleHandle) {
    int module = 0;
    EXPECT_EQ(libraryLoadHook(&module, 0, nullptr), 1);
    EXPECT_EQ(moduleHandle, &module);
    EXPECT_EQ(libraryLoadHook(&liveInstances, 3, nullptr), 1);
    EXPECT_EQ(moduleHandle, &liveInstances);
}

} // namespace

EffectBase* createEffectInstance(HostCallback callback) {
    auto* effect = new CountedEffect(callback);
    if (failEditorAllocation)
        outOfMemory = true;
    return effect;
}

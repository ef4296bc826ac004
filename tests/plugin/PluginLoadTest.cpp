// Loads the built Linux plug-in with the system's dynamic loader, the way a
// host does, and checks what `main` hands over against the 64-bit record
// table, reading each field at its byte offset.

#include "host/EffectRecord.h"
#include "platform/library/DynamicLibrary.h"
#include "tests/plugin/ExpectedPlugin.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using EntryFunction = EffectRecord*(VARNEX_CALL*)(HostCallback);

struct HostCall {
    EffectRecord* record;
    std::int32_t opcode;
};
std::vector<HostCall> hostCalls;
IntPtr versionAnswer = 2400;

IntPtr VARNEX_CALL recordingHost(EffectRecord* record, std::int32_t opcode, std::int32_t, IntPtr,
                                 void*, float) {
    hostCalls.push_back({record, opcode});
    return opcode == 1 ? versionAnswer : 0;
}

template <class T> T fieldAt(const EffectRecord* record, std::size_t offset) {
    T value;
    std::memcpy(&value, reinterpret_cast<const char*>(record) + offset, sizeof value);
    return value;
}

IntPtr send(EffectRecord* record, std::int32_t opcode, IntPtr value = 0) {
    return record->dispatch(record, opcode, 0, value, nullptr, 0.0f);
}

class PluginLoad : public ::testing::Test {
  protected:
    void SetUp() override {
        hostCalls.clear();
        versionAnswer = 2400;
        ASSERT_TRUE(library.open(VARNEX_PLUGIN_FILE)) << library.errorText();
        entry = reinterpret_cast<EntryFunction>(library.symbol("main"));
        ASSERT_NE(entry, nullptr) << library.errorText();
    }

    DynamicLibrary library;
    EntryFunction entry = nullptr;
};

TEST_F(PluginLoad, RecordMatchesThe64BitTable) {
    static_assert(sizeof(void*) == 8, "the native build is the 64-bit one");
    EffectRecord* record = entry(recordingHost);
    ASSERT_NE(record, nullptr);

    EXPECT_EQ(fieldAt<std::int32_t>(record, 0), expected::Magic);
    for (std::size_t offset : {8u, 16u, 24u, 32u, 120u})
        EXPECT_NE(fieldAt<void*>(record, offset), nullptr) << "function at offset " << offset;
    EXPECT_EQ(fieldAt<std::int32_t>(record, 40), expected::ProgramCount);
    EXPECT_EQ(fieldAt<std::int32_t>(record, 44), expected::ParameterCount);
    EXPECT_EQ(fieldAt<std::int32_t>(record, 48), expected::InputCount);
    EXPECT_EQ(fieldAt<std::int32_t>(record, 52), expected::OutputCount);
    EXPECT_EQ(fieldAt<std::int32_t>(record, 56), expected::Flags);
    EXPECT_EQ(fieldAt<std::int64_t>(record, 64), 0) << "reserved1";
    EXPECT_EQ(fieldAt<std::int64_t>(record, 72), 0) << "reserved2";
    EXPECT_EQ(fieldAt<std::int32_t>(record, 80), 0) << "initialDelay";
    EXPECT_EQ(fieldAt<std::int32_t>(record, 84), 0) << "realtimeQualities";
    EXPECT_EQ(fieldAt<std::int32_t>(record, 88), 0) << "offlineQualities";
    EXPECT_EQ(fieldAt<float>(record, 92), 1.0f) << "inputOutputRatio";
    EXPECT_NE(fieldAt<void*>(record, 96), nullptr) << "object";
    EXPECT_EQ(fieldAt<void*>(record, 104), nullptr) << "user";
    EXPECT_EQ(fieldAt<std::int32_t>(record, 112), expected::UniqueId);
    EXPECT_EQ(fieldAt<std::int32_t>(record, 116), expected::Version);
    for (std::size_t offset = 128; offset < 188; ++offset)
        EXPECT_EQ(fieldAt<char>(record, offset), 0) << "future byte at offset " << offset;

    // The one host call made while building: the version query, before any
    // record exists.
    ASSERT_FALSE(hostCalls.empty());
    EXPECT_EQ(hostCalls.front().opcode, 1);
    EXPECT_EQ(hostCalls.front().record, nullptr);
    EXPECT_EQ(send(record, 58), expected::InterfaceVersion);
    EXPECT_EQ(send(record, 1), 1);
}

TEST_F(PluginLoad, MainMakesNothingWithoutAHostVersion) {
    versionAnswer = 0;
    EXPECT_EQ(entry(recordingHost), nullptr);
    EXPECT_EQ(entry(nullptr), nullptr);
}

// Closing destroys the instance; in the sanitizer build the leak checker
// fails this test if it did not.
TEST_F(PluginLoad, CloseAnswersOneAndOtherOpcodesLeaveTheInstanceAlive) {
    EffectRecord* record = entry(recordingHost);
    ASSERT_NE(record, nullptr);
    for (std::int32_t opcode : {0, 3, 12, 22, 58, 59, 1000, -1})
        send(record, opcode);
    EXPECT_EQ(record->magic, expected::Magic);
    EXPECT_EQ(send(record, 58), expected::InterfaceVersion);
    EXPECT_EQ(send(record, 1), 1);
}

TEST_F(PluginLoad, TwoInstancesAreIndependent) {
    EffectRecord* first = entry(recordingHost);
    EffectRecord* second = entry(recordingHost);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_NE(first->object, second->object);

    send(first, 2, 5);
    EXPECT_EQ(send(first, 3), 5);
    EXPECT_EQ(send(second, 3), 0);

    EXPECT_EQ(send(first, 1), 1);
    send(second, 2, 7);
    EXPECT_EQ(send(second, 3), 7);
    EXPECT_EQ(second->magic, expected::Magic);
    EXPECT_EQ(send(second, 1), 1);
}

} // namespace

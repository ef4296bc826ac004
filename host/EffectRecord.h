#pragma once
// The record a host reads and calls to drive one plug-in instance. Hosts
// read it by byte offset, so field order, widths and padding are fixed:
// 144 bytes on 32-bit builds, 192 bytes with natural alignment on 64-bit.

#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define VARNEX_CALL __cdecl
#else
#define VARNEX_CALL
#endif

// Pointer-sized signed integer: the `value` argument and the result of both
// the dispatcher and the host callback, and the two reserved words.
using IntPtr = std::intptr_t;

struct EffectRecord;

using HostCallback = IntPtr(VARNEX_CALL*)(EffectRecord* record, std::int32_t opcode,
                                          std::int32_t index, IntPtr value, void* ptr, float opt);
using DispatchFunction = IntPtr(VARNEX_CALL*)(EffectRecord* record, std::int32_t opcode,
                                              std::int32_t index, IntPtr value, void* ptr,
                                              float opt);
using ProcessFunction = void(VARNEX_CALL*)(EffectRecord* record, float** inputs, float** outputs,
                                           std::int32_t frameCount);
using SetParameterFunction = void(VARNEX_CALL*)(EffectRecord* record, std::int32_t index,
                                                float value);
using GetParameterFunction = float(VARNEX_CALL*)(EffectRecord* record, std::int32_t index);

// Four-character codes put their first character in the most significant byte.
constexpr std::int32_t fourCharCode(char a, char b, char c, char d) {
    return static_cast<std::int32_t>(
        (static_cast<std::uint32_t>(static_cast<unsigned char>(a)) << 24) |
        (static_cast<std::uint32_t>(static_cast<unsigned char>(b)) << 16) |
        (static_cast<std::uint32_t>(static_cast<unsigned char>(c)) << 8) |
        static_cast<std::uint32_t>(static_cast<unsigned char>(d)));
}

constexpr std::int32_t EffectMagic = fourCharCode('V', 's', 't', 'P');
constexpr std::int32_t DefaultUniqueId = fourCharCode('N', 'o', 'E', 'f');

// Bits of EffectRecord::flags.
enum EffectFlags : std::int32_t {
    HasEditor = 0x001,
    HasClip = 0x002,
    HasMeter = 0x004,
    CanMono = 0x008,
    CanOverwrite = 0x010,
    ChunkPrograms = 0x020,
    IsInstrument = 0x100,
    SilentWhenStopped = 0x200,
    AsyncProcessing = 0x400,
    ExternalBuffer = 0x800,
};

struct EffectRecord {
    std::int32_t magic;
    DispatchFunction dispatch;
    ProcessFunction processAdding;
    SetParameterFunction setParameterValue;
    GetParameterFunction parameterValue;
    std::int32_t programCount;
    std::int32_t parameterCount;
    std::int32_t inputCount;
    std::int32_t outputCount;
    std::int32_t flags;
    IntPtr reserved1;
    IntPtr reserved2;
    std::int32_t initialDelay;
    std::int32_t realtimeQualities;
    std::int32_t offlineQualities;
    float inputOutputRatio;
    void* object;
    void* user;
    std::int32_t uniqueId;
    std::int32_t version;
    ProcessFunction processOverwriting;
    char future[60];
};

#if INTPTR_MAX == INT32_MAX
static_assert(sizeof(EffectRecord) == 144);
static_assert(offsetof(EffectRecord, magic) == 0);
static_assert(offsetof(EffectRecord, dispatch) == 4);
static_assert(offsetof(EffectRecord, processAdding) == 8);
static_assert(offsetof(EffectRecord, setParameterValue) == 12);
static_assert(offsetof(EffectRecord, parameterValue) == 16);
static_assert(offsetof(EffectRecord, programCount) == 20);
static_assert(offsetof(EffectRecord, parameterCount) == 24);
static_assert(offsetof(EffectRecord, inputCount) == 28);
static_assert(offsetof(EffectRecord, outputCount) == 32);
static_assert(offsetof(EffectRecord, flags) == 36);
static_assert(offsetof(EffectRecord, reserved1) == 40);
static_assert(offsetof(EffectRecord, reserved2) == 44);
static_assert(offsetof(EffectRecord, initialDelay) == 48);
static_assert(offsetof(EffectRecord, realtimeQualities) == 52);
static_assert(offsetof(EffectRecord, offlineQualities) == 56);
static_assert(offsetof(EffectRecord, inputOutputRatio) == 60);
static_assert(offsetof(EffectRecord, object) == 64);
static_assert(offsetof(EffectRecord, user) == 68);
static_assert(offsetof(EffectRecord, uniqueId) == 72);
static_assert(offsetof(EffectRecord, version) == 76);
static_assert(offsetof(EffectRecord, processOverwriting) == 80);
static_assert(offsetof(EffectRecord, future) == 84);
#elif INTPTR_MAX == INT64_MAX
static_assert(sizeof(EffectRecord) == 192);
static_assert(offsetof(EffectRecord, magic) == 0);
static_assert(offsetof(EffectRecord, dispatch) == 8);
static_assert(offsetof(EffectRecord, processAdding) == 16);
static_assert(offsetof(EffectRecord, setParameterValue) == 24);
static_assert(offsetof(EffectRecord, parameterValue) == 32);
static_assert(offsetof(EffectRecord, programCount) == 40);
static_assert(offsetof(EffectRecord, parameterCount) == 44);
static_assert(offsetof(EffectRecord, inputCount) == 48);
static_assert(offsetof(EffectRecord, outputCount) == 52);
static_assert(offsetof(EffectRecord, flags) == 56);
static_assert(offsetof(EffectRecord, reserved1) == 64);
static_assert(offsetof(EffectRecord, reserved2) == 72);
static_assert(offsetof(EffectRecord, initialDelay) == 80);
static_assert(offsetof(EffectRecord, realtimeQualities) == 84);
static_assert(offsetof(EffectRecord, offlineQualities) == 88);
static_assert(offsetof(EffectRecord, inputOutputRatio) == 92);
static_assert(offsetof(EffectRecord, object) == 96);
static_assert(offsetof(EffectRecord, user) == 104);
static_assert(offsetof(EffectRecord, uniqueId) == 112);
static_assert(offsetof(EffectRecord, version) == 116);
static_assert(offsetof(EffectRecord, processOverwriting) == 120);
static_assert(offsetof(EffectRecord, future) == 128);
#else
#error "unsupported pointer width"
#endif

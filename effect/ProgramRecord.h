#pragma once
// ProgramRecord: one stored program, a name and the values of parameters 1
// to 7 ("PreGain" .. "DryWet"), 52 bytes. The values are atomic words, since
// the host may set parameters and switch programs from different threads.

#include <atomic>
#include <cstdint>

struct ProgramRecord {
    ProgramRecord();
    ProgramRecord(const ProgramRecord&) = delete;
    ProgramRecord& operator=(const ProgramRecord&) = delete;

    // The stored value of parameter `index` (1 .. 7), or null for others.
    std::atomic<float>* parameter(std::int32_t index);

    char name[24];
    std::atomic<float> preGain{0.5f};
    std::atomic<float> preFilter{0.5f};
    std::atomic<float> postGain{0.5f};
    std::atomic<float> postFilter{0.5f};
    std::atomic<float> preSwitch{0.0f};
    std::atomic<float> postSwitch{0.0f};
    std::atomic<float> dryWet{0.0f};
};

static_assert(sizeof(ProgramRecord) == 52);
static_assert(std::atomic<float>::is_always_lock_free);

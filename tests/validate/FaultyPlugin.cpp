// A small stereo plug-in written without this project's classes: a gain
// with a one-pole smoother, two parameters, two programs, chunks and an
// editor that shows nothing (it opens with or without a parent). Built
// once as it should be and once per fault (FAULT names it), so that each
// fault is the only thing `varnex validate` can find:
//   CrashOnIdle    the idle opcode (53) crashes once program 1 is selected
//   HangsOnIdle    the same opcode never returns once program 1 is selected
//   Allocates      processing allocates a scratch buffer each block
//   NanSticks      a NaN input stays in the smoother for good
//   HalfLoads      a chunk with a bad checksum is refused after its first
//                  value was already applied
//   CrashOnEditorClose  closing (15) an editor that has had idle crashes

#include "tests/cli/fixtures/ExportMain.h"

#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#define FAULT_NONE 0
#define FAULT_CrashOnIdle 1
#define FAULT_Allocates 2
#define FAULT_NanSticks 3
#define FAULT_HalfLoads 4
#define FAULT_HangsOnIdle 5
#define FAULT_CrashOnEditorClose 6
#define FAULT_ID_(name) FAULT_##name
#define FAULT_ID(name) FAULT_ID_(name)
#define HAS_FAULT(name) (FAULT_ID(FAULT) == FAULT_##name)

namespace {

constexpr int ParameterCount = 2;
constexpr int ProgramCount = 2;

struct Instance {
    EffectRecord record{};
    float values[ParameterCount] = {0.5f, 0.25f};
    int program = 0;
    float state[2] = {0.0f, 0.0f};
    // Chunk: the values, then their checksum (the sum of the values).
    float chunk[ParameterCount + 1] = {};
    std::int16_t editorRect[4] = {0, 0, 100, 200}; // top, left, bottom, right
    bool editorOpen = false;
    bool editorIdled = false;
};

Instance& of(EffectRecord* record) {
    return *static_cast<Instance*>(record->object);
}

[[maybe_unused]] void crash() {
    // An address no process maps, and not null, which a sanitizer would
    // report and exit on instead of crashing.
    volatile std::uintptr_t unmapped = 16;
    *reinterpret_cast<volatile int*>(unmapped) = 1;
}

void copy(void* ptr, const char* text) {
    std::strcpy(static_cast<char*>(ptr), text);
}

IntPtr loadChunk(Instance& self, const void* data, IntPtr size) {
    if (size != static_cast<IntPtr>(sizeof self.chunk))
        return 0;
    float read[ParameterCount + 1];
    std::memcpy(read, data, sizeof read);
#if HAS_FAULT(HalfLoads)
    self.values[0] = read[0];
#endif
    if (!(read[0] + read[1] == read[2]) || !(read[0] >= 0 && read[0] <= 1) ||
        !(read[1] >= 0 && read[1] <= 1))
        return 0;
    self.values[0] = read[0];
    self.values[1] = read[1];
    return 1;
}

IntPtr VARNEX_CALL dispatch(EffectRecord* record, std::int32_t opcode, std::int32_t index,
                            IntPtr value, void* ptr, float) {
    Instance& self = of(record);
    switch (opcode) {
    case 1: // close
        delete &self;
        return 0;
    case 2:
        if (value >= 0 && value < ProgramCount)
            self.program = static_cast<int>(value);
        return 0;
    case 3:
        return self.program;
    case 5:
        copy(ptr, self.program == 0 ? "Quiet" : "Loud");
        return 0;
    case 6:
        copy(ptr, "");
        return 0;
    case 7:
        copy(ptr, index >= 0 && index < ParameterCount ? "0.5" : "");
        return 0;
    case 8:
        copy(ptr, index == 0 ? "Gain" : index == 1 ? "Smooth" : "");
        return 0;
    case 13: // editor rectangle
        *static_cast<std::int16_t**>(ptr) = self.editorRect;
        return 1;
    case 14:
        self.editorOpen = true;
        self.editorIdled = false;
        return 1;
    case 15:
#if HAS_FAULT(CrashOnEditorClose)
        if (self.editorIdled)
            crash();
#endif
        self.editorOpen = false;
        return 0;
    case 19:
        self.editorIdled = self.editorOpen;
        return 0;
    case 23: // get chunk
        self.chunk[0] = self.values[0];
        self.chunk[1] = self.values[1];
        self.chunk[2] = self.values[0] + self.values[1];
        *static_cast<void**>(ptr) = self.chunk;
        return sizeof self.chunk;
    case 24:
        return loadChunk(self, ptr, value);
    case 53: // idle
#if HAS_FAULT(CrashOnIdle)
        if (self.program == 1)
            crash();
#endif
#if HAS_FAULT(HangsOnIdle)
        while (self.program == 1)
            std::atomic_signal_fence(std::memory_order_seq_cst);
#endif
        return 0;
    default:
        return 0;
    }
}

void run(EffectRecord* record, float** inputs, float** outputs, std::int32_t frames, bool adding) {
    Instance& self = of(record);
#if HAS_FAULT(Allocates)
    std::vector<float> scratch(static_cast<std::size_t>(frames) + 1);
    (void)scratch;
#endif
    const float gain = self.values[0] * 2.0f;
    const float keep = 0.5f * self.values[1];
    for (int c = 0; c < 2; ++c) {
        float state = self.state[c];
        for (std::int32_t i = 0; i < frames; ++i) {
            state = keep * state + (1.0f - keep) * inputs[c][i];
            const float y = std::fabs(state) < 1e-20f ? 0.0f : state * gain;
            outputs[c][i] = adding ? outputs[c][i] + y : y;
        }
#if !HAS_FAULT(NanSticks)
        if (!std::isfinite(state) || std::fabs(state) > 1e6f)
            state = 0.0f;
#endif
        self.state[c] = state;
    }
}

void VARNEX_CALL processAdding(EffectRecord* record, float** in, float** out, std::int32_t n) {
    run(record, in, out, n, true);
}

void VARNEX_CALL processOverwriting(EffectRecord* record, float** in, float** out, std::int32_t n) {
    run(record, in, out, n, false);
}

void VARNEX_CALL setParameter(EffectRecord* record, std::int32_t index, float value) {
    if (index >= 0 && index < ParameterCount && value >= 0.0f && value <= 1.0f)
        of(record).values[index] = value;
}

float VARNEX_CALL parameter(EffectRecord* record, std::int32_t index) {
    return index >= 0 && index < ParameterCount ? of(record).values[index] : 0.0f;
}

} // namespace

DECLARE_FIXTURE_MAIN(faultyMain);
extern "C" EffectRecord* faultyMain(HostCallback) {
    auto* self = new Instance;
    EffectRecord& made = self->record;
    made.magic = fourCharCode('V', 's', 't', 'P');
    made.dispatch = dispatch;
    made.processAdding = processAdding;
    made.processOverwriting = processOverwriting;
    made.setParameterValue = setParameter;
    made.parameterValue = parameter;
    made.programCount = ProgramCount;
    made.parameterCount = ParameterCount;
    made.inputCount = 2;
    made.outputCount = 2;
    made.flags = HasEditor | CanOverwrite | ChunkPrograms;
    made.object = self;
    made.uniqueId = fourCharCode('F', 'l', 't', 'y');
    made.version = 1;
    return &made;
}

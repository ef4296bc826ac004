// The editor's drawing costs: a full paint of the background and the nine
// controls, and the idle refresh after one knob moved (what a host's idle
// or a control's paced idle pays while the user turns a knob).

#include "editor/GuiEditor.h"
#include "editor/ShaperEffectEdit.h"
#include "gui/Frame.h"
#include "host/EffectBase.h"
#include "platform/Headless.h"
#include "platform/Windowing.h"

#include <benchmark/benchmark.h>

namespace {

IntPtr VARNEX_CALL quietHost(EffectRecord*, std::int32_t opcode, std::int32_t, IntPtr, void*,
                             float) {
    return opcode == HostVersion ? 2400 : 0;
}

// An effect with its editor open in a headless host window and painted.
struct OpenEditor {
    OpenEditor() {
        host = platform::headless::createHostWindow(0, 0, 568, 290);
        record->dispatch(record, OpEditorOpen, 0, 0, host, 0.0f);
        window = platform::headless::childWindow(host, 0);
        platform::headless::deliverPaint(window);
        record->dispatch(record, OpEditorIdle, 0, 0, nullptr, 0.0f);
    }
    ~OpenEditor() {
        record->dispatch(record, OpEditorClose, 0, 0, nullptr, 0.0f);
        platform::destroyWindow(host);
    }

    ShaperEffectEdit effect{&quietHost};
    EffectRecord* record = effect.effectRecord();
    platform::Window* host = nullptr;
    platform::Window* window = nullptr;
};

void fullEditorPaint(benchmark::State& state) {
    OpenEditor editor;
    for (auto _ : state)
        platform::headless::deliverPaint(editor.window);
}
BENCHMARK(fullEditorPaint)->Unit(benchmark::kMicrosecond);

// One knob changes from the host, then the idle redraws what changed.
void idleAfterOneKnobChange(benchmark::State& state) {
    OpenEditor editor;
    float value = 0.0f;
    for (auto _ : state) {
        value = value > 0.9f ? 0.0f : value + 0.1f;
        editor.record->setParameterValue(editor.record, 1, value);
        editor.record->dispatch(editor.record, OpEditorIdle, 0, 0, nullptr, 0.0f);
    }
}
BENCHMARK(idleAfterOneKnobChange)->Unit(benchmark::kMicrosecond);

// The frame's pump alone, with nothing changed: the floor of every idle.
void pumpWithNothingChanged(benchmark::State& state) {
    OpenEditor editor;
    Frame* frame = static_cast<GuiEditor*>(editor.effect.attachedEditor())->editorFrame();
    for (auto _ : state)
        frame->pump();
}
BENCHMARK(pumpWithNothingChanged)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();

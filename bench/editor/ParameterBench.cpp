// What one setParameter costs the host's thread, through the record as a
// host calls it, for every index. Parameter 0 ("Shaper") is measured with
// curves of 2, 20 and 50 points, with the curve unchanged since the last
// call and right after the user changed it. The editor is open, as while
// a user plays with the curve and the host automates.

#include "editor/CurveEditor.h"
#include "editor/ShaperEditor.h"
#include "editor/ShaperEffectEdit.h"
#include "editor/ShaperLayout.h"
#include "host/EffectBase.h"
#include "platform/Headless.h"
#include "platform/Windowing.h"

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

IntPtr VARNEX_CALL quietHost(EffectRecord*, std::int32_t opcode, std::int32_t, IntPtr, void*,
                             float) {
    return opcode == HostVersion ? 2400 : 0;
}

Point onCurve(float x, float y) {
    return {shaperLayout::CurveAnchor.h + static_cast<std::int32_t>(x),
            shaperLayout::CurveAnchor.v + static_cast<std::int32_t>(y)};
}

// An instance with its editor open and a curve of `points` points drawn.
struct DrawnCurve {
    explicit DrawnCurve(int points) {
        host = platform::headless::createHostWindow(0, 0, 568, 290);
        record->dispatch(record, OpEditorOpen, 0, 0, host, 0.0f);
        curve = effect.shaperEditor()->curveEditor();
        for (int i = 1; i < points - 1; ++i) {
            const float x = 11.0f + 244.0f * static_cast<float>(i) / static_cast<float>(points - 1);
            const float y = 255.0f -
                            244.0f * static_cast<float>(i) / static_cast<float>(points - 1) +
                            static_cast<float>((i % 3) - 1) * 20.0f;
            curve->press(onCurve(x, y < 11.0f ? 11.0f : (y > 255.0f ? 255.0f : y)));
        }
        record->setParameterValue(record, 0, 0.0f);
    }
    ~DrawnCurve() {
        record->dispatch(record, OpEditorClose, 0, 0, nullptr, 0.0f);
        platform::destroyWindow(host);
    }

    ShaperEffectEdit effect{&quietHost};
    EffectRecord* record = effect.effectRecord();
    platform::Window* host = nullptr;
    CurveEditor* curve = nullptr;
};

// Every index in turn, as a host restoring a project or automating does.
void setEveryParameter(benchmark::State& state) {
    DrawnCurve instance(static_cast<int>(state.range(0)));
    float value = 0.0f;
    for (auto _ : state) {
        value = value > 0.9f ? 0.05f : value + 0.1f;
        for (std::int32_t index = 0; index < 8; ++index)
            instance.record->setParameterValue(instance.record, index, value);
    }
    state.SetItemsProcessed(state.iterations() * 8);
}
BENCHMARK(setEveryParameter)->Arg(2)->Arg(20)->Arg(50)->Unit(benchmark::kMicrosecond);

// Parameter 0 alone, the curve unchanged since the table was built.
void setShaperUnchanged(benchmark::State& state) {
    DrawnCurve instance(static_cast<int>(state.range(0)));
    for (auto _ : state)
        instance.record->setParameterValue(instance.record, 0, 0.0f);
}
BENCHMARK(setShaperUnchanged)->Arg(2)->Arg(20)->Arg(50)->Unit(benchmark::kMicrosecond);

// Parameter 0 right after the user moved a point. Only the call is timed;
// the move and what the editor does after it on its thread are not.
void setShaperAfterAChange(benchmark::State& state) {
    DrawnCurve instance(static_cast<int>(state.range(0)));
    const CurvePoint inner = instance.curve->model().point(1);
    float y = inner.y;
    for (auto _ : state) {
        y = y > 200.0f ? 20.0f : y + 7.0f;
        instance.curve->press(onCurve(inner.x, instance.curve->model().point(1).y));
        instance.curve->drag(onCurve(inner.x, y));
        instance.effect.curveChanged();
        const auto start = std::chrono::steady_clock::now();
        instance.record->setParameterValue(instance.record, 0, 0.0f);
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}
BENCHMARK(setShaperAfterAChange)
    ->Arg(2)
    ->Arg(20)
    ->Arg(50)
    ->UseManualTime()
    ->Iterations(2000)
    ->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();

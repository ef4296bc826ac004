// Rebuilding the transfer table samples the curve at 1024 inputs; this
// measures that for curves of 2 to 50 points.

#include "editor/CurveModel.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

CurveModel curveWithPoints(int count) {
    CurveModel model(PlotArea::forPictures(267, 267, 13, 13));
    // Inner points spread evenly along x, heights wandering up and down.
    for (int i = 1; i < count - 1; ++i) {
        float x = 11.0f + 244.0f * i / (count - 1);
        float y = 255.0f - 244.0f * i / (count - 1) + ((i % 3) - 1) * 20.0f;
        model.press(x, y < 11.0f ? 11.0f : (y > 255.0f ? 255.0f : y));
    }
    return model;
}

void sampleCurve(benchmark::State& state) {
    CurveModel model = curveWithPoints(static_cast<int>(state.range(0)));
    std::vector<float> table(1024);
    for (auto _ : state) {
        model.sampleCurve(table.data(), 1024);
        benchmark::DoNotOptimize(table.data());
    }
}
BENCHMARK(sampleCurve)->Arg(2)->Arg(3)->Arg(4)->Arg(20)->Arg(50)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();

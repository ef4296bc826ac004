// Cost of the waveshaper's audio entries per stereo frame: the plain loop,
// the ramping loop (both cutoffs gliding, coefficients recomputed every
// frame) and a tail ringing in the subnormal range, for both entries at
// block sizes 32, 512 and 4096. "frame_time" is the time per stereo frame.

#include "effect/ShaperEffect.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace {

using namespace ShaperParameter;

constexpr std::int32_t LargestBlock = 4096;

struct Buffers {
    explicit Buffers(std::int32_t frames)
        : left(static_cast<std::size_t>(frames)), right(static_cast<std::size_t>(frames)) {
        pointers[0] = left.data();
        pointers[1] = right.data();
    }
    std::vector<float> left;
    std::vector<float> right;
    float* pointers[2];
};

// Music-like noise that drives the shaper into both branches and the clip.
Buffers noiseInput() {
    Buffers in(LargestBlock);
    std::mt19937 random(42);
    std::uniform_real_distribution<float> noise(-1.2f, 1.2f);
    for (std::size_t i = 0; i < in.left.size(); ++i) {
        in.left[i] = noise(random);
        in.right[i] = noise(random);
    }
    return in;
}

// A ringing tail far below float32's normal range (about 1e-40).
Buffers subnormalInput() {
    Buffers in(LargestBlock);
    for (std::size_t i = 0; i < in.left.size(); ++i) {
        const double phase = 0.05 * static_cast<double>(i);
        in.left[i] = static_cast<float>(1.0e-40 * std::sin(phase));
        in.right[i] = static_cast<float>(1.0e-40 * std::cos(phase));
    }
    return in;
}

void settle(ShaperEffect& effect) {
    Buffers quiet(20000);
    Buffers out(20000);
    effect.processOverwriting(quiet.pointers, out.pointers, 20000);
}

template <bool Adding>
void process(ShaperEffect& effect, Buffers& in, Buffers& out, std::int32_t frames) {
    if constexpr (Adding) {
        effect.processAdding(in.pointers, out.pointers, frames);
    } else {
        effect.processOverwriting(in.pointers, out.pointers, frames);
    }
}

void reportPerFrame(benchmark::State& state, std::int32_t frames) {
    state.counters["frame_time"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * frames,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

template <bool Adding> void plainLoop(benchmark::State& state) {
    const auto frames = static_cast<std::int32_t>(state.range(0));
    ShaperEffect effect(nullptr);
    effect.setParameterValue(PreGain, 0.8f);
    effect.setParameterValue(PostSwitch, 1.0f);
    effect.setParameterValue(DryWet, 0.2f);
    settle(effect);
    Buffers in = noiseInput();
    Buffers out(LargestBlock);
    for (auto _ : state) {
        process<Adding>(effect, in, out, frames);
        benchmark::DoNotOptimize(out.left.data());
        benchmark::ClobberMemory();
        if constexpr (Adding) {
            out.left[0] = 0.0f; // keep the sums from growing without end
        }
    }
    reportPerFrame(state, frames);
}

template <bool Adding> void rampingLoop(benchmark::State& state) {
    const auto frames = static_cast<std::int32_t>(state.range(0));
    ShaperEffect effect(nullptr);
    effect.setParameterValue(PreGain, 0.8f);
    settle(effect);
    Buffers in = noiseInput();
    Buffers out(LargestBlock);
    bool up = false;
    for (auto _ : state) {
        // Both pairs head for a distant cutoff again, so every frame ramps.
        up = !up;
        effect.setParameterValue(PreFilter, up ? 0.9f : 0.2f);
        effect.setParameterValue(PostFilter, up ? 0.15f : 0.8f);
        process<Adding>(effect, in, out, frames);
        benchmark::DoNotOptimize(out.left.data());
        benchmark::ClobberMemory();
    }
    reportPerFrame(state, frames);
}

template <bool Adding> void subnormalTail(benchmark::State& state) {
    const auto frames = static_cast<std::int32_t>(state.range(0));
    ShaperEffect effect(nullptr);
    effect.setParameterValue(PreFilter, 0.05f); // long, slowly decaying filters
    effect.setParameterValue(PostFilter, 0.05f);
    effect.setParameterValue(DryWet, 0.2f);
    settle(effect);
    Buffers in = subnormalInput();
    Buffers out(LargestBlock);
    for (auto _ : state) {
        process<Adding>(effect, in, out, frames);
        benchmark::DoNotOptimize(out.left.data());
        benchmark::ClobberMemory();
    }
    reportPerFrame(state, frames);
}

void blockSizes(benchmark::internal::Benchmark* b) {
    b->Arg(32)->Arg(512)->Arg(4096);
}

BENCHMARK(plainLoop<false>)->Name("Plain/Overwriting")->Apply(blockSizes);
BENCHMARK(plainLoop<true>)->Name("Plain/Adding")->Apply(blockSizes);
BENCHMARK(rampingLoop<false>)->Name("Ramping/Overwriting")->Apply(blockSizes);
BENCHMARK(rampingLoop<true>)->Name("Ramping/Adding")->Apply(blockSizes);
BENCHMARK(subnormalTail<false>)->Name("SubnormalTail/Overwriting")->Apply(blockSizes);
BENCHMARK(subnormalTail<true>)->Name("SubnormalTail/Adding")->Apply(blockSizes);

} // namespace

BENCHMARK_MAIN();

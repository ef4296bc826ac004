// The audio thread processes while another thread sets parameters, switches
// programs, changes the rate and rebuilds the table. Run under
// ThreadSanitizer this also shows that the two sides share only atomics.

#include "StereoBuffers.h"
#include "effect/ShaperEffect.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <random>
#include <thread>

namespace {

class WobblyCurve : public CurveSource {
  public:
    void sampleCurve(float* values, std::int32_t count) override {
        ++generation;
        for (std::int32_t j = 0; j < count; ++j) {
            const double x = static_cast<double>(j) / count;
            values[j] = static_cast<float>(x + 0.3 * std::sin(generation * 0.7 + 9.0 * x));
        }
    }
    int generation = 0;
};

TEST(ShaperConcurrency, ProcessingWhileAnotherThreadChangesEverything) {
    ShaperEffect effect(nullptr);
    WobblyCurve curve;
    std::atomic<bool> stop{false};
    std::atomic<long> nonFinite{0};
    std::atomic<long> blocks{0};

    std::thread audio([&] {
        std::mt19937 random(1);
        std::uniform_real_distribution<float> noise(-2.0f, 2.0f);
        StereoBuffers in(1024);
        StereoBuffers out(1024);
        int sizes[] = {0, 1, 32, 64, 512, 1024, 317};
        int turn = 0;
        while (!stop.load(std::memory_order_relaxed)) {
            const int frames = sizes[turn++ % 7];
            for (int i = 0; i < frames; ++i) {
                in.left[static_cast<std::size_t>(i)] = noise(random);
                in.right[static_cast<std::size_t>(i)] = noise(random);
            }
            if (turn % 2 == 0) {
                effect.processOverwriting(in.channels(), out.channels(), frames);
            } else {
                effect.processAdding(in.channels(), out.channels(), frames);
                for (int i = 0; i < frames; ++i) { // keep the sums bounded
                    out.left[static_cast<std::size_t>(i)] *= 0.5f;
                    out.right[static_cast<std::size_t>(i)] *= 0.5f;
                }
            }
            for (int i = 0; i < frames; ++i) {
                if (!std::isfinite(out.left[static_cast<std::size_t>(i)]) ||
                    !std::isfinite(out.right[static_cast<std::size_t>(i)])) {
                    nonFinite.fetch_add(1, std::memory_order_relaxed);
                }
            }
            blocks.fetch_add(1, std::memory_order_relaxed);
        }
    });

    std::mt19937 random(2);
    std::uniform_real_distribution<float> unit(-0.2f, 1.2f);
    const float rates[] = {44100.0f, 48000.0f, 22050.0f, 96000.0f, 8000.0f};
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    long changes = 0;
    while (std::chrono::steady_clock::now() < end) {
        const int what = static_cast<int>(random() % 100);
        if (what < 70) {
            effect.setParameterValue(static_cast<std::int32_t>(1 + random() % 7), unit(random));
        } else if (what < 80) {
            effect.selectProgram(static_cast<std::int32_t>(random() % 16));
        } else if (what < 90) {
            effect.attachCurve(what % 2 == 0 ? &curve : nullptr);
            effect.setParameterValue(ShaperParameter::Shaper, 0.0f);
        } else if (what < 95) {
            effect.changeSampleRate(rates[random() % 5]);
        } else if (what < 97) {
            effect.suspendProcessing();
        } else {
            effect.setParameterValue(static_cast<std::int32_t>(random() % 8), NAN);
        }
        ++changes;
        if (changes % 64 == 0) {
            std::this_thread::yield();
        }
    }
    stop.store(true);
    audio.join();
    effect.attachCurve(nullptr);

    EXPECT_EQ(nonFinite.load(), 0);
    EXPECT_GT(blocks.load(), 100);
    EXPECT_GT(changes, 1000);
}

} // namespace

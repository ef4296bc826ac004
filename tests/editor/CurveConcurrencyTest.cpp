// The host sets parameter 0 from its own thread (as when it restores a
// project or automates "Shaper") while the user drags curve points on the
// window's thread. Every table rebuild must read a whole, consistent point
// list, and under ThreadSanitizer nothing may race.

#include "EditorHost.h"
#include "RealtimeCounters.h"

#include "editor/CurveEditor.h"
#include "editor/ShaperEditor.h"
#include "editor/ShaperEffectEdit.h"
#include "editor/ShaperLayout.h"
#include "effect/TransferTable.h"
#include "host/EffectBase.h"
#include "host/Entry.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

namespace {

IntPtr VARNEX_CALL quietHost(EffectRecord*, std::int32_t opcode, std::int32_t, IntPtr, void*,
                             float) {
    return opcode == HostVersion ? 2400 : 0;
}

Point onCurve(std::int32_t x, std::int32_t y) {
    return {shaperLayout::CurveAnchor.h + x, shaperLayout::CurveAnchor.v + y};
}

TEST(CurveConcurrency, HostSetsShaperWhileTheUserDragsPoints) {
    EditorHost host;
    ASSERT_NE(host.record, nullptr);
    host.openEditor();
    host.paint();
    host.click(onCurve(80, 200));
    host.click(onCurve(180, 60));

    std::atomic<bool> done{false};
    std::atomic<int> rebuilds{0};
    std::atomic<bool> tableValid{true};
    EffectRecord* record = host.record;
    const ShaperEffectEdit& effect = host.effect();
    std::thread hostThread([&] {
        while (!done.load(std::memory_order_relaxed)) {
            record->setParameterValue(record, 0, 0.5f);
            // A drawn curve stays inside the plotting area: heights 0 to 1.
            for (int k = 0; k < 1024; k += 64) {
                const float v = effect.transferTable().transferEntry(k);
                if (!std::isfinite(v) || v < -0.01f || v > 1.01f)
                    tableValid.store(false, std::memory_order_relaxed);
            }
            rebuilds.fetch_add(1, std::memory_order_relaxed);
        }
    });

    std::int32_t y = 200;
    for (int round = 0; round < 20; ++round) {
        const std::int32_t to = y == 200 ? 40 : 200;
        host.drag(onCurve(80, y), {onCurve(80, 120), onCurve(80, to)});
        y = to;
        host.click(onCurve(130, 130));
        host.click(onCurve(130, 130), platform::headless::PointerRight);
        host.idle();
    }
    // Let the host thread rebuild at least a few times in any case.
    while (rebuilds.load(std::memory_order_relaxed) < 5)
        std::this_thread::yield();
    done.store(true, std::memory_order_relaxed);
    hostThread.join();

    EXPECT_TRUE(tableValid.load());
    const CurveEditor* curve = effect.shaperEditor()->curveEditor();
    ASSERT_EQ(curve->pointCount(), 4);
    EXPECT_EQ(curve->model().point(1).y, 200.0f);
    host.closeEditor();
}

// A host's audio thread sets every parameter (restoring a project,
// automating) between blocks while the user drags points on the window's
// thread. The calls and the blocks neither allocate nor lock (counted where
// the build counts), and every table the audio side takes is whole: slopes
// and widened pairs agree with the heights, which a table written while it
// is read would break (and ThreadSanitizer would report).
TEST(CurveConcurrency, EveryParameterFromTheAudioThreadWhileTheUserDragsPoints) {
    EditorHost host;
    ASSERT_NE(host.record, nullptr);
    host.openEditor();
    host.paint();
    host.click(onCurve(80, 200));
    host.click(onCurve(180, 60));

    EffectRecord* record = host.record;
    auto& table = const_cast<TransferTable&>(host.effect().transferTable());
    std::atomic<bool> done{false};
    std::atomic<int> tablesTaken{0};
    long allocations = 0;
    long locks = 0;
    int tornTables = 0;
    std::thread audio([&] {
        constexpr int Frames = 256;
        std::vector<float> inLeft(Frames), inRight(Frames), outLeft(Frames), outRight(Frames);
        for (int i = 0; i < Frames; ++i) {
            inLeft[static_cast<std::size_t>(i)] = std::sin(0.05f * static_cast<float>(i));
            inRight[static_cast<std::size_t>(i)] = -inLeft[static_cast<std::size_t>(i)];
        }
        float* inputs[2] = {inLeft.data(), inRight.data()};
        float* outputs[2] = {outLeft.data(), outRight.data()};
        const TransferTable::Entries* last = nullptr;
        float value = 0.1f;
        while (!done.load(std::memory_order_relaxed)) {
            const long allocationsBefore = allocationsOnThisThread();
            const long locksBefore = locksOnThisThread();
            for (std::int32_t index = 0; index < 8; ++index)
                record->setParameterValue(record, index, value);
            record->processOverwriting(record, inputs, outputs, Frames);
            const TransferTable::Entries& entries = table.acquireForAudio();
            allocations += allocationsOnThisThread() - allocationsBefore;
            locks += locksOnThisThread() - locksBefore;

            for (std::size_t k = 0; k + 1 < TransferTable::Size; ++k) {
                const float height = entries.transferTable[k];
                if (entries.slopeTable[k] != entries.transferTable[k + 1] - height ||
                    entries.widened[k][0] != height ||
                    entries.widened[k][1] != entries.slopeTable[k] || height < -0.01f ||
                    height > 1.01f) {
                    ++tornTables;
                    break;
                }
            }
            if (&entries != last) {
                last = &entries;
                tablesTaken.fetch_add(1, std::memory_order_relaxed);
            }
            value = value > 0.85f ? 0.1f : value + 0.1f;
        }
    });

    std::int32_t y = 200;
    for (int round = 0; round < 20 || (round < 2000 && tablesTaken.load() < 5); ++round) {
        const std::int32_t to = y == 200 ? 40 : 200;
        host.drag(onCurve(80, y), {onCurve(80, 120), onCurve(80, to)});
        y = to;
        host.idle();
    }
    done.store(true, std::memory_order_relaxed);
    audio.join();

    EXPECT_EQ(tornTables, 0);
    EXPECT_GE(tablesTaken.load(), 5) << "the audio side took the tables of the gestures";
    if (realtimeCountersActive()) {
        EXPECT_EQ(allocations, 0);
        EXPECT_EQ(locks, 0);
    }
    host.closeEditor();
}

// Hosts may make instances on several threads at once; each one loads its
// editor's pictures, and the raster's count of live objects is shared.
TEST(CurveConcurrency, InstancesMadeAndEndedOnTwoThreadsAtOnce) {
    const auto makeAndEnd = [] {
        for (int i = 0; i < 20; ++i) {
            EffectRecord* record = pluginMain(&quietHost);
            ASSERT_NE(record, nullptr);
            record->setParameterValue(record, 1, 0.3f);
            record->dispatch(record, OpClose, 0, 0, nullptr, 0.0f);
        }
    };
    std::thread other(makeAndEnd);
    makeAndEnd();
    other.join();
}

} // namespace

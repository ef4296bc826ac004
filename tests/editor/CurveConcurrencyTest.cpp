// The host sets parameter 0 from its own thread (as when it restores a
// project or automates "Shaper") while the user drags curve points on the
// window's thread. Every table rebuild must read a whole, consistent point
// list, and under ThreadSanitizer nothing may race.

#include "EditorHost.h"

#include "editor/CurveEditor.h"
#include "editor/ShaperEditor.h"
#include "editor/ShaperEffectEdit.h"
#include "editor/ShaperLayout.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>

namespace {

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

} // namespace

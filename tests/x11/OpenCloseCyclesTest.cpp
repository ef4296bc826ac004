// Opening and closing the editor many times in a real X window while the
// host's audio thread keeps processing through the record: every opening
// paints, every closing takes its window and its connection away.

#include "editor/ShaperLayout.h"
#include "tests/support/VirtualDisplay.h"
#include "tests/x11/X11Host.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <thread>

namespace {

std::size_t openFileCount() {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}

TEST(EditorCycles, HundredOpenCloseCyclesWhileAudioRuns) {
    VirtualDisplay& server = VirtualDisplay::shared();
    if (!server.available())
        GTEST_SKIP() << server.whyUnavailable();
    std::string why;
    const Picture& expected = snapshotPicture(why);
    if (expected.width == 0)
        GTEST_SKIP() << why;
    Display* display = openConnection(server.displayName());
    ASSERT_NE(display, nullptr);
    {
        HostWindow host(display, 40, 30, expected.width, expected.height);
        PluginInstance plugin;
        ASSERT_NE(plugin.record, nullptr);
        // A patch of the first knob: it shows once the editor has painted.
        const Point knob = shaperLayout::KnobAnchors[0];
        const Picture patch = expected.crop(knob.h, knob.v, knob.h + 43, knob.v + 43);
        const auto cycle = [&] {
            plugin.openEditor(host.id());
            const std::vector<WindowId> children = host.children();
            bool painted = false;
            if (children.size() == 1)
                painted = idleUntil(display, {&plugin}, [&] {
                    return grabWindow(display, children[0])
                               .crop(knob.h, knob.v, knob.h + 43, knob.v + 43) == patch;
                });
            plugin.closeEditor();
            return children.size() == 1 && painted && host.children().empty();
        };
        ASSERT_TRUE(cycle());
        const std::size_t filesBefore = openFileCount();

        std::atomic<bool> stop{false};
        std::atomic<long> blocks{0};
        std::atomic<bool> finite{true};
        std::thread audio([&] {
            std::vector<float> left(64), right(64), outLeft(64), outRight(64);
            for (std::size_t i = 0; i < left.size(); ++i)
                left[i] = right[i] = std::sin(static_cast<float>(i) * 0.3f);
            float* inputs[2] = {left.data(), right.data()};
            float* outputs[2] = {outLeft.data(), outRight.data()};
            while (!stop) {
                plugin.record->processOverwriting(plugin.record, inputs, outputs, 64);
                if (!std::isfinite(outLeft[0]) || !std::isfinite(outRight[63]))
                    finite = false;
                ++blocks;
            }
        });
        int good = 0;
        for (int i = 0; i < 100; ++i)
            good += cycle() ? 1 : 0;
        const long blocksDuringCycles = blocks.load();
        stop = true;
        audio.join();

        EXPECT_EQ(good, 100);
        EXPECT_GT(blocksDuringCycles, 0);
        EXPECT_TRUE(finite);
        // Each editor's connection went with it.
        EXPECT_EQ(openFileCount(), filesBefore);
    }
    closeConnection(display);
}

} // namespace

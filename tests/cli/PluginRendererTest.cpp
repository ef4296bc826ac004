// Rendering through a loaded plug-in, block by block.

#include "AllocationCounter.h"
#include "RenderTestSupport.h"

#include "cli/CommandError.h"
#include "cli/ParameterSettings.h"
#include "cli/PluginHost.h"
#include "cli/PluginRenderer.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using render_test::probeOutput;
using render_test::testTones;

StereoBuffer render(const std::string& plugin, const StereoBuffer& input,
                    const RenderSettings& settings) {
    StereoBuffer output;
    output.sampleRate = input.sampleRate;
    BufferSource source(input);
    BufferSink sink(output);
    sink.reserve(input.frameCount());
    EXPECT_EQ(renderThroughPlugin(plugin, source, sink, settings), input.frameCount());
    return output;
}

struct BlockCase {
    std::int32_t blockSize;
    std::int64_t frames;
    bool adding;
};

void PrintTo(const BlockCase& block, std::ostream* stream) {
    *stream << block.frames << " frames in blocks of " << block.blockSize
            << (block.adding ? ", adding" : ", overwriting");
}

class BlockSizes : public ::testing::TestWithParam<BlockCase> {};

// The probe delays by one frame, so a block processed twice, skipped, cut
// short or fed the wrong frames shows in the output; it also poisons any
// block longer than the announced size, or sent outside resume/suspend.
TEST_P(BlockSizes, EveryFrameIsRenderedOnceAndInOrder) {
    const BlockCase& block = GetParam();
    StereoBuffer input = testTones(block.frames);
    RenderSettings settings;
    settings.blockSize = block.blockSize;
    settings.adding = block.adding;
    StereoBuffer output = render(RENDER_PROBE_PLUGIN, input, settings);
    StereoBuffer expected = probeOutput(input);
    EXPECT_EQ(output.left, expected.left);
    EXPECT_EQ(output.right, expected.right);
}

INSTANTIATE_TEST_SUITE_P(
    RenderBlocks, BlockSizes,
    ::testing::Values(BlockCase{1, 100, false}, BlockCase{1, 100, true},
                      BlockCase{7, 1000, false}, // 142 full blocks and a last one of 6
                      BlockCase{7, 1001, true},  // whole blocks only
                      BlockCase{4096, 10000, false}, BlockCase{4096, 10000, true},
                      BlockCase{4096, 100, false}, // one block shorter than the block size
                      BlockCase{512, 0, false}),   // nothing at all
    [](const ::testing::TestParamInfo<BlockCase>& info) {
        return "block" + std::to_string(info.param.blockSize) + "_frames" +
               std::to_string(info.param.frames) + (info.param.adding ? "_adding" : "_overwriting");
    });

TEST(PluginRendering, ParametersOverrideTheProgram) {
    StereoBuffer input = testTones(500);
    RenderSettings settings;
    settings.program = 2; // Gain 0.75: a factor of 1.5
    StereoBuffer programOnly = render(RENDER_PROBE_PLUGIN, input, settings);
    StereoBuffer expected = probeOutput(input, 1.5f);
    EXPECT_EQ(programOnly.left, expected.left);

    settings.parameters = {{"Gain", 0.25f}, {"Output Trim", 1.0f}}; // 4 x 0.25 x 1
    StereoBuffer overridden = render(RENDER_PROBE_PLUGIN, input, settings);
    expected = probeOutput(input, 1.0f);
    EXPECT_EQ(overridden.left, expected.left);
    EXPECT_EQ(overridden.right, expected.right);
}

TEST(PluginRendering, TheBlockLoopAllocatesNothing) {
    if (!allocationsCounted())
        GTEST_SKIP() << "sanitizer builds do not count allocations";
    StereoBuffer input = testTones(10000);
    StereoBuffer output;
    BufferSource source(input);
    BufferSink sink(output);
    sink.reserve(input.frameCount());
    PluginHost host(RENDER_PROBE_PLUGIN, 44100.0f, 64);
    PluginRenderer renderer(host, 64, true);
    std::int64_t blocks = 0;
    RenderProgress countBlocks = [&blocks](std::int64_t, std::int64_t) { ++blocks; };

    long before = allocationsSoFar();
    renderer.render(source, sink, countBlocks);
    EXPECT_EQ(allocationsSoFar() - before, 0);
    EXPECT_EQ(blocks, (10000 + 63) / 64);
    EXPECT_EQ(output.left, probeOutput(input).left);
}

TEST(PluginRendering, BadSettingsStopBeforeAnyAudio) {
    StereoBuffer input = testTones(100);
    StereoBuffer output;
    BufferSource source(input);
    BufferSink sink(output);
    RenderSettings settings;
    settings.parameters = {{"Volume", 0.5f}};
    EXPECT_THROW(renderThroughPlugin(RENDER_PROBE_PLUGIN, source, sink, settings), CommandError);
    settings.parameters.clear();
    settings.program = 4;
    EXPECT_THROW(renderThroughPlugin(RENDER_PROBE_PLUGIN, source, sink, settings), CommandError);
    EXPECT_EQ(output.frameCount(), 0);
}

// The Varnex plug-in built in this tree. A parameter name it lacks makes
// the render throw, so these fail rather than pass vacuously.
TEST(VarnexRendering, FullyDrySettingCopiesTheInputExactly) {
    StereoBuffer input = testTones(5000);
    for (bool adding : {false, true}) {
        RenderSettings settings;
        settings.adding = adding;
        settings.blockSize = 333;
        settings.parameters = {{"PreGain", 1.0f}, {"PostFilter", 0.1f}, {"DryWet", 1.0f}};
        StereoBuffer output = render(VARNEX_PLUGIN, input, settings);
        EXPECT_EQ(output.left, input.left) << (adding ? "adding" : "overwriting");
        EXPECT_EQ(output.right, input.right) << (adding ? "adding" : "overwriting");
    }
}

TEST(VarnexRendering, DriveAndPostFilterChangeTheSignal) {
    StereoBuffer input = testTones(44100);
    RenderSettings settings;
    settings.parameters = {{"PreGain", 0.9f}, {"PostFilter", 0.3f}};
    StereoBuffer output = render(VARNEX_PLUGIN, input, settings);
    double difference = 0.0;
    double energy = 0.0;
    for (std::size_t i = 0; i < input.left.size(); ++i) {
        ASSERT_TRUE(std::isfinite(output.left[i]) && std::isfinite(output.right[i])) << i;
        difference += std::abs(output.left[i] - input.left[i]);
        energy += std::abs(input.left[i]);
    }
    EXPECT_GT(difference, 0.1 * energy);
}

} // namespace

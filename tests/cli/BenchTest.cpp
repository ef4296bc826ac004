// The timing core of `varnex bench`.

#include "cli/BenchCommand.h"
#include "cli/CommandError.h"
#include "cli/PluginBenchmark.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(Median, OfOddAndEvenCountsAndInAnyOrder) {
    EXPECT_EQ(median({3.0, 1.0, 2.0}), 2.0);
    EXPECT_EQ(median({4.0, 1.0, 3.0, 2.0}), 2.5);
    EXPECT_EQ(median({7.0}), 7.0);
    EXPECT_EQ(median({100.0, 1.0, 1.0, 1.0, 1.0}), 1.0);
}

TEST(BenchSignal, IsOneSecondOfTheDemoSong) {
    StereoBuffer signal = benchSignal(44100.0);
    EXPECT_EQ(signal.frameCount(), 44100);
    EXPECT_EQ(signal.right.size(), signal.left.size());
    EXPECT_NE(signal.left, std::vector<float>(signal.left.size(), 0.0f));
}

TEST(PluginTiming, TimesBothEntriesOfAnOverwritingPluginAtEveryBlockSize) {
    BenchPlan plan;
    plan.blockSizes = {1, 32, 4096};
    plan.secondsPerMeasurement = 0.001;
    StereoBuffer signal = benchSignal(plan.sampleRate);
    signal.left.resize(5000); // a last partial block at every size
    signal.right.resize(5000);

    PluginTiming timing = benchmarkPlugin(RENDER_PROBE_PLUGIN, signal, plan);
    EXPECT_EQ(timing.label, "RenderProbe");
    EXPECT_EQ(timing.inputCount, 2);
    EXPECT_EQ(timing.outputCount, 2);
    ASSERT_EQ(timing.entries.size(), 2u);
    EXPECT_EQ(timing.entries[0].entry, ProcessEntry::Overwriting);
    EXPECT_EQ(timing.entries[1].entry, ProcessEntry::Adding);
    for (const EntryTiming& entry : timing.entries) {
        ASSERT_EQ(entry.nanosecondsPerFrame.size(), plan.blockSizes.size());
        for (std::size_t b = 0; b < plan.blockSizes.size(); ++b) {
            EXPECT_TRUE(std::isfinite(entry.nanosecondsPerFrame[b]));
            EXPECT_GT(entry.nanosecondsPerFrame[b], 0.0);
            EXPECT_GE(entry.runs[b], MinRuns);
            EXPECT_LE(entry.runs[b], MaxRuns);
        }
    }
}

TEST(PluginTiming, AMissingPluginIsACommandError) {
    BenchPlan plan;
    EXPECT_THROW(benchmarkPlugin("/no/such/plugin.so", benchSignal(44100.0), plan), CommandError);
}

PluginTiming madeUpTiming(const std::string& label, std::vector<double> overwriting,
                          std::vector<double> adding) {
    PluginTiming timing;
    timing.label = label;
    timing.inputCount = 2;
    timing.outputCount = 2;
    if (!overwriting.empty())
        timing.entries.push_back({ProcessEntry::Overwriting, overwriting, {5, 5}});
    if (!adding.empty())
        timing.entries.push_back({ProcessEntry::Adding, adding, {5, 5}});
    return timing;
}

TEST(BenchTable, ShowsEachEntryAndTheRatioToTheFirstPlugin) {
    BenchPlan plan;
    plan.blockSizes = {32, 512};
    std::string table = formatBenchTable({madeUpTiming("First", {10.0, 5.0}, {20.0, 8.0}),
                                          madeUpTiming("Second", {30.0, 20.0}, {20.0, 4.0})},
                                         plan);
    EXPECT_NE(table.find("10.00"), std::string::npos) << table;
    EXPECT_NE(table.find("3.00x"), std::string::npos) << table; // 30 / 10
    EXPECT_NE(table.find("4.00x"), std::string::npos) << table; // 20 / 5
    EXPECT_NE(table.find("1.00x"), std::string::npos) << table; // 20 / 20, adding to adding
    EXPECT_NE(table.find("0.50x"), std::string::npos) << table; // 4 / 8
}

TEST(BenchTable, ComparesWithTheOnlyEntryOfAFirstPluginThatCannotOverwrite) {
    BenchPlan plan;
    plan.blockSizes = {32, 512};
    std::string table = formatBenchTable(
        {
            madeUpTiming("First", {}, {10.0, 10.0}),
            madeUpTiming("Second", {50.0, 1500.0}, {}),
        },
        plan);
    EXPECT_NE(table.find("5.00x"), std::string::npos) << table;
    EXPECT_NE(table.find("150x"), std::string::npos) << table;
}

TEST(BenchTable, ASinglePluginHasNoRatios) {
    BenchPlan plan;
    plan.blockSizes = {32, 512};
    std::string table = formatBenchTable({madeUpTiming("Only", {1.0, 2.0}, {1.0, 2.0})}, plan);
    EXPECT_NE(table.find("Only"), std::string::npos) << table;
    EXPECT_EQ(table.find("relative"), std::string::npos) << table;
}

} // namespace

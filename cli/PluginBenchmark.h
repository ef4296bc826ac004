#pragma once
// Times the audio entries of any plug-in through its record: nanoseconds
// per stereo frame for several block sizes, the median of repeated runs
// over the same stretch of music.

#include "cli/StereoAudio.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

enum class ProcessEntry { Overwriting, Adding };

struct EntryTiming {
    ProcessEntry entry = ProcessEntry::Overwriting;
    // One median per block size, in the order asked for.
    std::vector<double> nanosecondsPerFrame;
    // Runs behind each median.
    std::vector<int> runs;
};

struct PluginTiming {
    std::string path;
    std::string label; // the file name without its extension
    std::int32_t inputCount = 0;
    std::int32_t outputCount = 0;
    // processOverwriting first when the plug-in offers it, then processAdding.
    std::vector<EntryTiming> entries;
};

struct BenchPlan {
    std::vector<std::int32_t> blockSizes = {32, 512, 4096};
    // Time spent measuring each entry at each block size (after a warm-up).
    double secondsPerMeasurement = 0.5;
    double sampleRate = 44100.0;
};

// At least this many runs go into each median, at most MaxRuns.
constexpr int MinRuns = 5;
constexpr int MaxRuns = 2000;

// Loads the plug-in at the plan's rate, resumes it and times each of its
// entries: processAdding always, processOverwriting when the record's
// CanOverwrite flag offers it. `signal` is run through in blocks.
// `started`, if given, is called once the plug-in has loaded.
PluginTiming benchmarkPlugin(const std::string& path, const StereoBuffer& signal,
                             const BenchPlan& plan,
                             const std::function<void(const PluginTiming&)>& started = {});

// The median of the values (the mean of the middle two for an even count).
double median(std::vector<double> values);

const char* entryName(ProcessEntry entry);

// The table of timings and, when there are several plug-ins, each one's
// ratio to the first (same entry and block size).
std::string formatBenchTable(const std::vector<PluginTiming>& timings, const BenchPlan& plan);

#pragma once
// varnex bench: the parts of the command that tests reach in-process.

#include "cli/Commands.h"
#include "cli/PluginBenchmark.h"

#include <string>
#include <vector>

struct BenchOptions {
    std::vector<std::string> pluginPaths; // empty: the Varnex plug-in beside the program
    BenchPlan plan;
};

// The longest measurement per cell that --seconds accepts.
constexpr double MaxBenchSeconds = 60.0;

// Reads the command's arguments; a UsageError for anything it cannot use.
// Each --block replaces the default block sizes (32, 512, 4096); several
// may be given.
BenchOptions parseBenchArguments(const Arguments& arguments);

// One second of the demo song at the plan's rate: what every plug-in plays.
StereoBuffer benchSignal(double sampleRate);

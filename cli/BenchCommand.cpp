// varnex bench [PLUGIN ...] [--block N] [--seconds S]
// varnex bench --editor [PLUGIN] [--cycles N]   (cli/EditorBench.cpp)

#include "cli/BenchCommand.h"

#include "cli/CommandError.h"
#include "cli/DemoSong.h"
#include "cli/EditorBench.h"
#include "cli/ParameterSettings.h"
#include "cli/PluginHost.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <system_error>

namespace {

const std::string& optionValue(const Arguments& arguments, std::size_t& index) {
    if (index + 1 >= arguments.size())
        throw UsageError("bench: option " + arguments[index] + " needs a value");
    return arguments[++index];
}

double parseSeconds(const std::string& text) {
    double seconds = 0.0;
    const char* last = text.data() + text.size();
    auto [end, failure] = std::from_chars(text.data(), last, seconds);
    if (failure != std::errc() || end != last || text.empty() || !std::isfinite(seconds))
        throw UsageError("bench: seconds '" + text + "' is not a number");
    if (seconds <= 0.0 || seconds > MaxBenchSeconds)
        throw UsageError("bench: seconds " + text + " is outside (0, " +
                         std::to_string(static_cast<int>(MaxBenchSeconds)) + "]");
    return seconds;
}

} // namespace

BenchOptions parseBenchArguments(const Arguments& arguments) {
    BenchOptions options;
    std::vector<std::int32_t> blockSizes;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--block") {
            blockSizes.push_back(parseBlockSize(optionValue(arguments, i)));
        } else if (argument == "--seconds") {
            options.plan.secondsPerMeasurement = parseSeconds(optionValue(arguments, i));
        } else if (argument == "--cycles") {
            throw UsageError("bench: --cycles goes with --editor");
        } else if (argument.size() > 1 && argument[0] == '-') {
            throw UsageError("bench: unknown option '" + argument + "'");
        } else if (argument.empty()) {
            throw UsageError("bench: empty plug-in path");
        } else {
            options.pluginPaths.push_back(argument);
        }
    }
    if (!blockSizes.empty())
        options.plan.blockSizes = blockSizes;
    return options;
}

StereoBuffer benchSignal(double sampleRate) {
    StereoBuffer signal = synthesizeDemoSong(sampleRate);
    auto oneSecond = static_cast<std::size_t>(sampleRate);
    signal.left.resize(oneSecond);
    signal.right.resize(oneSecond);
    return signal;
}

int runBenchCommand(const Arguments& arguments) {
    if (std::find(arguments.begin(), arguments.end(), "--editor") != arguments.end())
        return runEditorBench(parseEditorBenchArguments(arguments));
    BenchOptions options = parseBenchArguments(arguments);
    if (options.pluginPaths.empty())
        options.pluginPaths.push_back(defaultPluginPath());
    StereoBuffer signal = benchSignal(options.plan.sampleRate);
    std::vector<PluginTiming> timings;
    for (const std::string& path : options.pluginPaths) {
        timings.push_back(benchmarkPlugin(path, signal, options.plan, [](const PluginTiming& t) {
            std::fprintf(stderr, "varnex: timing %s\n", t.path.c_str());
        }));
    }
    std::fputs(formatBenchTable(timings, options.plan).c_str(), stdout);
    return std::fflush(stdout) == 0 ? ExitSuccess : ExitFailure;
}

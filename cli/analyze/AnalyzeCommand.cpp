// varnex analyze [PLUGIN] [--set NAME=VALUE ...] [--program N] [--preset FILE]
//                [--curve X,Y;X,Y;... [--curve-normalized]] [-o report.png] [--json]

#include "cli/CommandError.h"
#include "cli/Commands.h"
#include "cli/LinkedPlugin.h"
#include "cli/PluginHost.h"
#include "cli/StateOptions.h"
#include "cli/analyze/EditorCurve.h"
#include "cli/analyze/Measurements.h"
#include "cli/analyze/PluginProbe.h"
#include "cli/analyze/ReportPicture.h"
#include "cli/analyze/ReportText.h"

#include <cstdio>
#include <filesystem>

namespace {

struct AnalyzeOptions {
    std::string pluginPath; // empty: the Varnex beside this program
    std::string outputPath = "report.png";
    bool json = false;
    StateOptions state{"analyze"};
};

AnalyzeOptions parseAnalyzeArguments(const Arguments& arguments) {
    AnalyzeOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "-o" || argument == "--output") {
            options.outputPath = optionValue(arguments, i, "analyze");
            if (options.outputPath.empty())
                throw UsageError("analyze: the output name after -o is empty");
        } else if (argument == "--json") {
            options.json = true;
        } else if (argument != "--save-preset" && options.state.take(arguments, i)) {
            continue;
        } else if (argument.size() > 1 && argument[0] == '-') {
            throw UsageError("analyze: unknown option '" + argument + "'");
        } else if (options.pluginPath.empty()) {
            options.pluginPath = argument;
            if (argument.empty())
                throw UsageError("analyze: the plug-in path is empty");
        } else {
            throw UsageError("analyze: more than one plug-in given ('" + options.pluginPath +
                             "', '" + argument + "')");
        }
    }
    if (options.state.curve && !options.pluginPath.empty())
        throw UsageError("analyze: --curve draws in the editor of the Varnex plug-in built into "
                         "varnex and cannot be combined with a plug-in path");
    options.state.check();
    if (options.state.curve && !editorCurveAvailable())
        throw CommandError("analyze: --curve is not available in this build (it draws in the "
                           "editor through the headless window system, which the Windows builds "
                           "do not have); --preset takes a drawn curve from a preset file that the "
                           "Linux varnex saved with snapshot --curve ... --save-preset FILE");
    return options;
}

AnalysisReport analyze(const AnalyzeOptions& options) {
    const std::vector<CurvePoint> curve = options.state.curvePoints();
    const PluginSource source =
        options.state.curve ? linkedVarnexPlugin()
                            : PluginSource::file(options.pluginPath.empty() ? defaultPluginPath()
                                                                            : options.pluginPath);
    PluginHost host(source, static_cast<float>(AnalysisSampleRate), PluginProbe::BlockSize);
    options.state.applyTo(host);
    if (!curve.empty())
        drawCurveInEditor(host, curve);
    AnalysisReport report;
    {
        PluginProbe probe(host);
        report = analyzePlugin(probe);
    }
    report.pluginName = options.state.curve
                            ? "Varnex with a drawn curve"
                            : std::filesystem::path(source.path).filename().string();
    report.declaredLatency = host.record().initialDelay;
    return report;
}

} // namespace

int runAnalyzeCommand(const Arguments& arguments) {
    const AnalyzeOptions options = parseAnalyzeArguments(arguments);
    const AnalysisReport report = analyze(options);
    const PictureNote note = writeReportPicture(report, options.outputPath);
    const std::string text =
        options.json ? formatAnalysisJson(report, note) : formatAnalysisText(report, note);
    std::fputs(text.c_str(), stdout);
    return std::fflush(stdout) == 0 ? ExitSuccess : ExitFailure;
}

// varnex snapshot [-o editor.png] [--set NAME=VALUE ...] [--program N]
//                 [--curve X,Y;X,Y;...] [--curve-normalized]

#include "cli/CommandError.h"
#include "cli/Commands.h"
#include "cli/CurveOption.h"
#include "cli/EditorSession.h"
#include "cli/LinkedPlugin.h"
#include "cli/ParameterSettings.h"
#include "cli/PluginHost.h"
#include "platform/Snapshot.h"

#include <cstdio>
#include <optional>

namespace {

constexpr const char* DefaultSnapshotPath = "editor.png";

struct SnapshotOptions {
    std::string outputPath = DefaultSnapshotPath;
    std::optional<std::int32_t> program;
    std::vector<ParameterSetting> parameters;
    std::string curve;
    bool curveGiven = false;
    bool normalized = false;
};

const std::string& optionValue(const Arguments& arguments, std::size_t& index) {
    if (index + 1 >= arguments.size())
        throw UsageError("snapshot: option " + arguments[index] + " needs a value");
    return arguments[++index];
}

SnapshotOptions parseSnapshotArguments(const Arguments& arguments) {
    SnapshotOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "-o" || argument == "--output") {
            options.outputPath = optionValue(arguments, i);
            if (options.outputPath.empty())
                throw UsageError("snapshot: the output name after -o is empty");
        } else if (argument == "--set") {
            options.parameters.push_back(parseParameterSetting(optionValue(arguments, i)));
        } else if (argument == "--program") {
            options.program = parseProgramNumber(optionValue(arguments, i));
        } else if (argument == "--curve") {
            options.curve = optionValue(arguments, i);
            options.curveGiven = true;
        } else if (argument == "--curve-normalized") {
            options.normalized = true;
        } else {
            throw UsageError("snapshot: unknown argument '" + argument + "'");
        }
    }
    if (options.normalized && !options.curveGiven)
        throw UsageError("snapshot: --curve-normalized needs --curve");
    return options;
}

} // namespace

int runSnapshotCommand(const Arguments& arguments) {
    const SnapshotOptions options = parseSnapshotArguments(arguments);
    std::vector<CurvePoint> curve;
    if (options.curveGiven)
        curve = parseCurvePoints(options.curve, options.normalized);

    PluginHost host(linkedVarnexPlugin());
    if (options.program)
        selectProgram(host, *options.program);
    applyParameterSettings(host, options.parameters);
    {
        EditorSession editor(host);
        editor.drawCurve(curve);
        editor.refresh();
        if (!platform::writeWindowPng(options.outputPath, editor.window()))
            throw CommandError("cannot write " + options.outputPath);
        std::printf("wrote %s: the editor, %d x %d pixels\n", options.outputPath.c_str(),
                    editor.width(), editor.height());
    }
    return ExitSuccess;
}

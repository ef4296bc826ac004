// varnex snapshot [-o editor.png] [--preset FILE] [--set NAME=VALUE ...] [--program N]
//                 [--curve X,Y;X,Y;...] [--curve-normalized] [--save-preset FILE.fxp|.fxb]

#include "cli/CommandError.h"
#include "cli/Commands.h"
#include "cli/EditorSession.h"
#include "cli/LinkedPlugin.h"
#include "cli/PluginHost.h"
#include "cli/StateOptions.h"
#include "platform/Snapshot.h"

#include <cstdio>

namespace {

constexpr const char* DefaultSnapshotPath = "editor.png";

struct SnapshotOptions {
    std::string outputPath = DefaultSnapshotPath;
    StateOptions state{"snapshot"};
};

SnapshotOptions parseSnapshotArguments(const Arguments& arguments) {
    SnapshotOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "-o" || argument == "--output") {
            options.outputPath = optionValue(arguments, i, "snapshot");
            if (options.outputPath.empty())
                throw UsageError("snapshot: the output name after -o is empty");
        } else if (!options.state.take(arguments, i)) {
            throw UsageError("snapshot: unknown argument '" + argument + "'");
        }
    }
    options.state.check();
    return options;
}

} // namespace

int runSnapshotCommand(const Arguments& arguments) {
    const SnapshotOptions options = parseSnapshotArguments(arguments);
    const std::vector<CurvePoint> curve = options.state.curvePoints();

    PluginHost host(linkedVarnexPlugin());
    options.state.applyTo(host);
    {
        EditorSession editor(host);
        editor.drawCurve(curve);
        editor.refresh();
        if (!platform::writeWindowPng(options.outputPath, editor.window()))
            throw CommandError("cannot write " + options.outputPath);
        std::printf("wrote %s: the editor, %d x %d pixels\n", options.outputPath.c_str(),
                    editor.width(), editor.height());
    }
    options.state.saveState(host);
    return ExitSuccess;
}

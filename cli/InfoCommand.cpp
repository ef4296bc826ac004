// varnex info [PLUGIN] [--json] [--preset FILE]: what a plug-in tells a
// host about itself, with a preset loaded first when one is given.

#include "cli/CommandError.h"
#include "cli/Commands.h"
#include "cli/PluginHost.h"
#include "cli/PluginInfo.h"
#include "cli/PluginPresets.h"
#include "cli/StateOptions.h"

#include <cstdio>
#include <optional>

int runInfoCommand(const Arguments& arguments) {
    std::string pluginPath;
    std::string presetPath;
    bool asJson = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--json") {
            asJson = true;
        } else if (argument == "--preset") {
            presetPath = optionValue(arguments, i, "info");
            if (presetPath.empty())
                throw UsageError("info: the file name after --preset is empty");
        } else if (argument.size() > 1 && argument[0] == '-') {
            throw UsageError("info: unknown option '" + argument + "'");
        } else if (pluginPath.empty()) {
            pluginPath = argument;
        } else {
            throw UsageError("info: more than one plug-in given ('" + pluginPath + "', '" +
                             argument + "')");
        }
    }
    if (pluginPath.empty())
        pluginPath = defaultPluginPath();
    std::optional<Preset> preset;
    if (!presetPath.empty())
        preset = readPresetFile(presetPath);

    std::string report;
    {
        PluginHost host(pluginPath);
        if (preset)
            loadPreset(host, *preset);
        PluginInfo info = collectPluginInfo(host);
        report = asJson ? formatInfoJson(info) : formatInfoText(info);
    }
    std::fputs(report.c_str(), stdout);
    return std::fflush(stdout) == 0 ? ExitSuccess : ExitFailure;
}

// varnex info [PLUGIN] [--json]: what a plug-in tells a host about itself.

#include "cli/CommandError.h"
#include "cli/Commands.h"
#include "cli/PluginHost.h"
#include "cli/PluginInfo.h"

#include <cstdio>

int runInfoCommand(const Arguments& arguments) {
    std::string pluginPath;
    bool asJson = false;
    for (const std::string& argument : arguments) {
        if (argument == "--json") {
            asJson = true;
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

    std::string report;
    {
        PluginHost host(pluginPath);
        PluginInfo info = collectPluginInfo(host);
        report = asJson ? formatInfoJson(info) : formatInfoText(info);
    }
    std::fputs(report.c_str(), stdout);
    return std::fflush(stdout) == 0 ? ExitSuccess : ExitFailure;
}

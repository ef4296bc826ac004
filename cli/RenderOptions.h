#pragma once
// The options of `varnex render` and the paths they lead to.

#include "cli/Commands.h"
#include "cli/PluginRenderer.h"
#include "cli/StateOptions.h"

#include <string>

// The demo's two files, written into the current folder or beside -o.
constexpr const char* DemoInputFileName = "varnex-demo-input.wav";
constexpr const char* DemoOutputFileName = "varnex-demo-output.wav";

struct RenderOptions {
    std::string inputPath;  // empty: render the demo song
    std::string outputPath; // empty: the default for the input
    std::string pluginPath; // empty: the Varnex plug-in beside the program
    // The preset, the program and the parameters are copied into
    // `settings`; a curve is drawn in the editor of the Varnex plug-in built
    // into varnex.
    StateOptions state{"render"};
    RenderSettings settings;
};

// Reads the command's arguments; a UsageError for anything it cannot use.
RenderOptions parseRenderArguments(const Arguments& arguments);

// IN-varnex.wav beside the input: "music/take.flac" gives
// "music/take-varnex.wav".
std::string defaultOutputPath(const std::string& inputPath);

// Whether two paths name the same file, also through links or when
// neither exists yet.
bool sameFile(const std::string& first, const std::string& second);

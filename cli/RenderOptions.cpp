#include "cli/RenderOptions.h"

#include "cli/CommandError.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// An absolute path with links resolved as far as they exist.
fs::path comparablePath(const std::string& path) {
    std::error_code failure;
    fs::path absolute = fs::absolute(path, failure);
    if (failure)
        return fs::path(path).lexically_normal();
    fs::path resolved = fs::weakly_canonical(absolute, failure);
    return failure ? absolute.lexically_normal() : resolved;
}

} // namespace

RenderOptions parseRenderArguments(const Arguments& arguments) {
    RenderOptions options;
    bool outputGiven = false;
    bool pluginGiven = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (options.state.take(arguments, i))
            continue;
        const std::string& argument = arguments[i];
        if (argument == "-o" || argument == "--output") {
            options.outputPath = optionValue(arguments, i, "render");
            outputGiven = true;
        } else if (argument == "--plugin") {
            options.pluginPath = optionValue(arguments, i, "render");
            pluginGiven = true;
        } else if (argument == "--block") {
            options.settings.blockSize = parseBlockSize(optionValue(arguments, i, "render"));
        } else if (argument == "--adding") {
            options.settings.adding = true;
        } else if (argument.size() > 1 && argument[0] == '-') {
            throw UsageError("render: unknown option '" + argument + "'");
        } else if (options.inputPath.empty()) {
            options.inputPath = argument;
        } else {
            throw UsageError("render: more than one input given ('" + options.inputPath + "', '" +
                             argument + "')");
        }
    }
    if (outputGiven && options.outputPath.empty())
        throw UsageError("render: the output name after -o is empty");
    if (pluginGiven && options.pluginPath.empty())
        throw UsageError("render: the plug-in path after --plugin is empty");
    if (options.state.curve && pluginGiven)
        throw UsageError("render: --curve draws in the editor of the Varnex plug-in built into "
                         "varnex and cannot be combined with --plugin");
    options.state.check();
    options.settings.preset = options.state.preset;
    options.settings.program = options.state.program;
    options.settings.parameters = options.state.parameters;
    return options;
}

std::string defaultOutputPath(const std::string& inputPath) {
    fs::path input(inputPath);
    return (input.parent_path() / (input.stem().string() + "-varnex.wav")).string();
}

bool sameFile(const std::string& first, const std::string& second) {
    std::error_code failure;
    if (fs::exists(first, failure) && fs::exists(second, failure)) {
        bool same = fs::equivalent(first, second, failure);
        if (!failure)
            return same;
    }
    return comparablePath(first) == comparablePath(second);
}

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

// The text after an option that needs one.
const std::string& optionValue(const Arguments& arguments, std::size_t& index) {
    if (index + 1 >= arguments.size())
        throw UsageError("render: option " + arguments[index] + " needs a value");
    return arguments[++index];
}

} // namespace

RenderOptions parseRenderArguments(const Arguments& arguments) {
    RenderOptions options;
    bool outputGiven = false;
    bool pluginGiven = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "-o" || argument == "--output") {
            options.outputPath = optionValue(arguments, i);
            outputGiven = true;
        } else if (argument == "--plugin") {
            options.pluginPath = optionValue(arguments, i);
            pluginGiven = true;
        } else if (argument == "--set") {
            options.settings.parameters.push_back(parseParameterSetting(optionValue(arguments, i)));
        } else if (argument == "--program") {
            options.settings.program = parseProgramNumber(optionValue(arguments, i));
        } else if (argument == "--block") {
            options.settings.blockSize = parseBlockSize(optionValue(arguments, i));
        } else if (argument == "--adding") {
            options.settings.adding = true;
        } else if (argument == "--curve") {
            options.curve = optionValue(arguments, i);
            options.curveGiven = true;
        } else if (argument == "--curve-normalized") {
            options.curveNormalized = true;
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
    if (options.curveNormalized && !options.curveGiven)
        throw UsageError("render: --curve-normalized needs --curve");
    if (options.curveGiven && pluginGiven)
        throw UsageError("render: --curve draws in the editor of the Varnex plug-in built into "
                         "varnex and cannot be combined with --plugin");
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

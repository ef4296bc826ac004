#include "cli/StateOptions.h"

#include "cli/CommandError.h"
#include "cli/CurveOption.h"
#include "cli/PendingFile.h"
#include "cli/PluginPresets.h"

#include <cstdio>

bool StateOptions::take(const Arguments& arguments, std::size_t& index) {
    const std::string& option = arguments[index];
    if (option == "--preset") {
        presetPath = optionValue(arguments, index, command);
        if (presetPath->empty())
            throw UsageError(command + ": the file name after --preset is empty");
    } else if (option == "--save-preset") {
        savePresetPath = optionValue(arguments, index, command);
        if (!presetScopeOf(*savePresetPath))
            throw UsageError(command + ": the file after --save-preset must end in .fxp (one " +
                             "program) or .fxb (the bank), not '" + *savePresetPath + "'");
    } else if (option == "--program")
        program = parseProgramNumber(optionValue(arguments, index, command));
    else if (option == "--set")
        parameters.push_back(parseParameterSetting(optionValue(arguments, index, command)));
    else if (option == "--curve")
        curve = optionValue(arguments, index, command);
    else if (option == "--curve-normalized")
        curveNormalized = true;
    else
        return false;
    return true;
}

void StateOptions::check() {
    if (curveNormalized && !curve)
        throw UsageError(command + ": --curve-normalized needs --curve");
    if (savePresetPath)
        checkOutputFolder(*savePresetPath);
    if (presetPath)
        preset = readPresetFile(*presetPath);
    // A chunk brings the curve of its own, which --curve cannot draw over.
    if (preset && isChunkKind(preset->kind) && curve)
        throw UsageError(command + ": --curve draws on the editor's initial curve and cannot " +
                         "follow " + *presetPath + ", a chunk with a curve of its own");
}

std::vector<CurvePoint> StateOptions::curvePoints() const {
    if (!curve)
        return {};
    return parseCurvePoints(*curve, curveNormalized);
}

void StateOptions::applyTo(PluginHost& host) const {
    if (preset)
        loadPreset(host, *preset);
    if (program)
        selectProgram(host, *program);
    applyParameterSettings(host, parameters);
}

std::optional<Preset> StateOptions::captureState(PluginHost& host) const {
    if (!savePresetPath)
        return std::nullopt;
    return capturePreset(host, *presetScopeOf(*savePresetPath));
}

void StateOptions::writeSavedState(const Preset& saved) const {
    writePresetFile(*savePresetPath, saved);
    std::printf("wrote %s: %s\n", savePresetPath->c_str(), describePreset(saved).c_str());
    std::fflush(stdout);
}

void StateOptions::saveState(PluginHost& host) const {
    if (std::optional<Preset> saved = captureState(host))
        writeSavedState(*saved);
}

const std::string& optionValue(const Arguments& arguments, std::size_t& index,
                               const std::string& command) {
    if (index + 1 >= arguments.size())
        throw UsageError(command + ": option " + arguments[index] + " needs a value");
    return arguments[++index];
}

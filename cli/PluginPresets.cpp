#include "cli/PluginPresets.h"

#include "cli/CommandError.h"
#include "cli/PluginHost.h"
#include "cli/PluginInfo.h"
#include "host/EffectBase.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <vector>

namespace {

// Built by appending: GCC 12 warns falsely (-Wrestrict) when a literal is
// prepended to a temporary string.
std::string idText(std::int32_t id) {
    std::string text = "'";
    text += fourCharText(id);
    text += "' ";
    text += hexText(id);
    return text;
}

std::string fileName(const Preset& preset) {
    return preset.source.empty() ? "the preset" : preset.source;
}

bool offersChunks(const PluginHost& host) {
    return (host.record().flags & ChunkPrograms) != 0;
}

void checkFits(const PluginHost& host, const Preset& preset) {
    const EffectRecord& record = host.record();
    const std::string file = fileName(preset);
    if (preset.pluginId != record.uniqueId)
        throw CommandError(file + " is a preset of the plug-in " + idText(preset.pluginId) +
                           ", not of " + host.path() + " " + idText(record.uniqueId));
    if (isChunkKind(preset.kind)) {
        if (!offersChunks(host))
            throw CommandError(file + " holds a chunk, which " + host.path() +
                               " does not take (it has no ChunkPrograms flag)");
        return;
    }
    if (!record.setParameterValue)
        throw CommandError("the plug-in " + host.path() + " cannot set parameter values");
    if (preset.parameterCount != record.parameterCount)
        throw CommandError(file + " holds " + std::to_string(preset.parameterCount) +
                           " parameters, the plug-in " + host.path() + " has " +
                           std::to_string(record.parameterCount));
    if (preset.kind == PresetKind::BankValues && preset.programCount != record.programCount)
        throw CommandError(file + " holds " + std::to_string(preset.programCount) +
                           " programs, the plug-in " + host.path() + " has " +
                           std::to_string(record.programCount));
}

void renameProgram(PluginHost& host, const std::string& name) {
    if (name.empty())
        return;
    // Program names in the interface take 24 bytes with the terminator.
    std::vector<char> text(PluginHost::TextBufferSize, '\0');
    std::copy_n(name.begin(), std::min<std::size_t>(name.size(), ProgramNameSize - 1),
                text.begin());
    host.dispatch(OpSetProgramName, 0, 0, text.data());
}

void loadValues(PluginHost& host, const PresetProgram& program) {
    renameProgram(host, program.name);
    for (std::size_t index = 0; index < program.values.size(); ++index)
        host.setParameterValue(static_cast<std::int32_t>(index), program.values[index]);
}

void loadChunk(PluginHost& host, const Preset& preset, bool program) {
    std::vector<std::uint8_t> data = preset.chunk; // the plug-in gets bytes of its own
    if (host.dispatch(OpSetChunk, program ? 1 : 0, static_cast<IntPtr>(data.size()), data.data()) ==
        0)
        throw CommandError("the plug-in " + host.path() + " refused the chunk of " +
                           fileName(preset));
}

bool isProgramOf(const PluginHost& host, IntPtr number) {
    return number >= 0 && number < host.record().programCount;
}

std::vector<std::uint8_t> savedChunk(PluginHost& host, bool program) {
    void* data = nullptr;
    const IntPtr size = host.dispatch(OpGetChunk, program ? 1 : 0, 0, &data);
    const std::string what = program ? "its program" : "its bank";
    if (size <= 0 || !data)
        throw CommandError("the plug-in " + host.path() + " has the ChunkPrograms flag but gave " +
                           "no chunk for " + what);
    if (static_cast<std::size_t>(size) > MaxPresetChunkSize)
        throw CommandError("the plug-in " + host.path() + " gave a chunk of " +
                           std::to_string(size) + " bytes for " + what +
                           ", more than a preset file holds");
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    return std::vector<std::uint8_t>(bytes, bytes + size);
}

PresetProgram currentProgram(PluginHost& host, bool withValues) {
    PresetProgram program;
    program.name = host.dispatchText(OpGetProgramName);
    if (!withValues)
        return program;
    const std::int32_t count = std::max(host.record().parameterCount, 0);
    for (std::int32_t index = 0; index < count; ++index) {
        const float value = host.parameterValue(index);
        if (!(value >= 0.0f && value <= 1.0f))
            throw CommandError("the plug-in " + host.path() + " reports parameter " +
                               std::to_string(index) + " as " + std::to_string(value) +
                               ", which no preset holds (values are in [0, 1])");
        program.values.push_back(value);
    }
    return program;
}

} // namespace

std::optional<PresetScope> presetScopeOf(const std::string& path) {
    std::string extension = path.size() > 4 ? path.substr(path.size() - 4) : "";
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".fxp")
        return PresetScope::Program;
    if (extension == ".fxb")
        return PresetScope::Bank;
    return std::nullopt;
}

void loadPreset(PluginHost& host, const Preset& preset) {
    checkFits(host, preset);
    switch (preset.kind) {
    case PresetKind::ProgramValues:
        loadValues(host, preset.programs.at(0));
        return;
    case PresetKind::ProgramChunk:
        loadChunk(host, preset, true);
        return;
    case PresetKind::BankValues: {
        const IntPtr before = host.dispatch(OpGetProgram);
        for (std::size_t number = 0; number < preset.programs.size(); ++number) {
            host.dispatch(OpSetProgram, 0, static_cast<IntPtr>(number));
            loadValues(host, preset.programs[number]);
        }
        const IntPtr current = preset.currentProgram >= 0 ? preset.currentProgram : before;
        if (isProgramOf(host, current))
            host.dispatch(OpSetProgram, 0, current);
        return;
    }
    case PresetKind::BankChunk:
        loadChunk(host, preset, false);
        // A plug-in whose bank chunk does not restore the current program.
        if (isProgramOf(host, preset.currentProgram) &&
            host.dispatch(OpGetProgram) != preset.currentProgram)
            host.dispatch(OpSetProgram, 0, preset.currentProgram);
        return;
    }
}

Preset capturePreset(PluginHost& host, PresetScope scope) {
    const EffectRecord& record = host.record();
    const bool chunk = offersChunks(host);
    Preset preset;
    preset.pluginId = record.uniqueId;
    preset.pluginVersion = record.version;
    preset.parameterCount = std::max(record.parameterCount, 0);
    if (scope == PresetScope::Program) {
        preset.kind = chunk ? PresetKind::ProgramChunk : PresetKind::ProgramValues;
        preset.programs.push_back(currentProgram(host, !chunk));
        if (chunk)
            preset.chunk = savedChunk(host, true);
        return preset;
    }

    preset.kind = chunk ? PresetKind::BankChunk : PresetKind::BankValues;
    preset.programCount = std::max(record.programCount, 0);
    const IntPtr current = host.dispatch(OpGetProgram);
    // Without a program of its own to name, the bank stores none.
    if (isProgramOf(host, current) || (preset.programCount == 0 && current == 0)) {
        preset.formatVersion = 2;
        preset.currentProgram = static_cast<std::int32_t>(current);
    }
    if (chunk) {
        preset.chunk = savedChunk(host, false);
        return preset;
    }
    for (std::int32_t number = 0; number < preset.programCount; ++number) {
        host.dispatch(OpSetProgram, 0, number);
        preset.programs.push_back(currentProgram(host, true));
    }
    if (isProgramOf(host, current))
        host.dispatch(OpSetProgram, 0, current);
    return preset;
}

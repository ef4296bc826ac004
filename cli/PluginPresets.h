#pragma once
// Presets and a loaded plug-in: a preset file loaded into the instance
// before a command's work, and the instance's state taken as a preset after
// it. Any plug-in: a chunk where it offers one (flag ChunkPrograms),
// parameter values otherwise.

#include "cli/PresetFile.h"

#include <optional>
#include <string>

class PluginHost;

enum class PresetScope { Program, Bank };

// FILE.fxp holds one program, FILE.fxb the bank (either case); none for
// any other name.
std::optional<PresetScope> presetScopeOf(const std::string& path);

// Checks that the preset fits the plug-in (its unique id; the ChunkPrograms
// flag for a chunk; the parameter and program counts for values), then
// loads it: a chunk through opcode 24, whole (it holds the names the
// plug-in keeps), values through the program (2, 4) and parameter entries,
// a program's name set when the file gives one. A bank of values selects
// its current program after (version 1: the one that was current before).
// A CommandError, with nothing changed, when the preset does not fit or the
// plug-in refuses its chunk.
void loadPreset(PluginHost& host, const Preset& preset);

// The current program or the whole bank: the plug-in's chunk (opcode 23)
// when it has ChunkPrograms, its values otherwise. A bank of values is read
// by selecting each program in turn; the current one is selected again
// after. A CommandError when the plug-in gives no chunk or a value that no
// preset holds.
Preset capturePreset(PluginHost& host, PresetScope scope);

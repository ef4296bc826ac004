#pragma once
// The options that set up a plug-in's state before a command uses it, and
// save it after, read alike by `varnex snapshot`, `edit` and `render`:
//
//   --preset FILE        loads a preset file (first of all)
//   --program N          selects program N
//   --set NAME=VALUE     sets a parameter by name to a value in [0, 1]
//                        (repeatable; applied after the program)
//   --curve X,Y;X,Y;...  a transfer curve to draw in Varnex's editor
//   --curve-normalized   its points are input,output pairs in 0..1
//   --save-preset FILE   writes the state after the work: FILE.fxp the
//                        current program, FILE.fxb the bank
//
// Each command reads its own options and hands every other argument to
// take() first.

#include "cli/Commands.h"
#include "cli/ParameterSettings.h"
#include "cli/PresetFile.h"
#include "editor/CurveModel.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class PluginHost;

class StateOptions {
  public:
    // `command` starts every message: "edit: option --set needs a value".
    explicit StateOptions(std::string command) : command(std::move(command)) {}

    // Reads arguments[index] and the value after it when it is one of these
    // options, leaving `index` on the last argument read; false for any
    // other argument. A UsageError for a missing or bad value.
    bool take(const Arguments& arguments, std::size_t& index);
    // What only the whole command line shows; call after its last argument.
    // Then reads the preset file, so that a malformed one is refused before
    // any plug-in is loaded, and checks where the saved one goes. --curve
    // does not go with a preset that holds a chunk.
    void check();

    // The curve's points in the curve editor's pixels; none without --curve.
    // A UsageError for a curve that cannot be drawn.
    std::vector<CurvePoint> curvePoints() const;
    // Loads the preset, selects the program, then sets the parameters; the
    // command draws the curve after.
    void applyTo(PluginHost& host) const;

    // With --save-preset, the plug-in's state as the preset to save.
    std::optional<Preset> captureState(PluginHost& host) const;
    // Writes the preset to the --save-preset file and says so on stdout.
    void writeSavedState(const Preset& preset) const;
    // Both at once: the state after the work, when --save-preset asks for it.
    void saveState(PluginHost& host) const;

    std::optional<std::string> presetPath;
    std::optional<Preset> preset; // read by check()
    std::optional<std::string> savePresetPath;
    std::optional<std::int32_t> program;
    std::vector<ParameterSetting> parameters;
    std::optional<std::string> curve;
    bool curveNormalized = false;

  private:
    std::string command;
};

// The argument after the option at `index`, which then points at it; a
// UsageError "COMMAND: option X needs a value" when there is none.
const std::string& optionValue(const Arguments& arguments, std::size_t& index,
                               const std::string& command);

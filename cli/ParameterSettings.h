#pragma once
// Parsing of the options that configure a plug-in for rendering: parameter
// settings by name, a program number and a block size, and the lookup of
// parameter names in a loaded plug-in. Every bad value is a UsageError or a
// CommandError with one line that names the offending text.

#include <cstdint>
#include <string>
#include <vector>

class PluginHost;

// The largest block a host hands a plug-in in one call here.
constexpr std::int32_t MaxBlockSize = 65536;

struct ParameterSetting {
    std::string name;
    float value = 0.0f;
};

// "NAME=VALUE", with VALUE a number in [0, 1]. The name may contain spaces
// and '=' signs up to the last '='.
ParameterSetting parseParameterSetting(const std::string& text);
// A parameter value: a finite decimal number in [0, 1].
float parseParameterValue(const std::string& text);
// A block size: a whole number from 1 to MaxBlockSize.
std::int32_t parseBlockSize(const std::string& text);
// A program number: a whole number from 0; whether the plug-in has it is
// checked once it is loaded (selectProgram).
std::int32_t parseProgramNumber(const std::string& text);

// Index of `name` among `names`: the exact name if present, otherwise the
// one name that matches it ignoring case. Unknown or ambiguous names are a
// CommandError listing the names there are.
std::int32_t findParameterIndex(const std::vector<std::string>& names, const std::string& name);

// The plug-in's own parameter names (opcode 8), in index order.
std::vector<std::string> parameterNames(PluginHost& host);

// Selects the program (opcode 2) after checking that the plug-in has it.
void selectProgram(PluginHost& host, std::int32_t program);
// Sets each parameter by name, in order, so a later setting of the same
// parameter wins.
void applyParameterSettings(PluginHost& host, const std::vector<ParameterSetting>& settings);

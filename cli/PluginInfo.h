#pragma once
// What `varnex info` reports about one plug-in instance, gathered through
// its record and dispatcher, and the two ways of printing it.

#include "host/EffectRecord.h"

#include <cstdint>
#include <string>
#include <vector>

class PluginHost;

struct ParameterInfo {
    std::int32_t index = 0;
    std::string name;
    std::string display;
    std::string unit;
    float value = 0.0f;
};

struct ProgramInfo {
    std::int32_t index = 0;
    std::string name;
};

struct PluginInfo {
    std::string path;
    // Facts of this build rather than of the plug-in: they differ between
    // 32-bit and 64-bit builds of the same plug-in.
    int recordSize = 0;
    int pointerBits = 0;

    std::int32_t magic = 0;
    std::int32_t uniqueId = 0;
    std::int32_t version = 0;
    IntPtr interfaceVersion = 0;
    std::int32_t programCount = 0;
    std::int32_t parameterCount = 0;
    std::int32_t inputCount = 0;
    std::int32_t outputCount = 0;
    std::int32_t flags = 0;
    std::int32_t initialDelay = 0;
    std::vector<ParameterInfo> parameters;
    std::vector<ProgramInfo> programs;
};

// Queries the instance. Program names are read by selecting each program
// in turn; the program that was current before is selected again after.
PluginInfo collectPluginInfo(PluginHost& host);

// Names of the set bits of a record's flags, in bit order; a bit without a
// name shows as its hexadecimal value.
std::vector<std::string> flagNames(std::int32_t flags);
// A four-character code as its characters, first from the most significant
// byte; a byte that is not printable ASCII shows as '.'.
std::string fourCharText(std::int32_t code);
std::string hexText(std::int32_t number);

std::string formatInfoText(const PluginInfo& info);
std::string formatInfoJson(const PluginInfo& info);

#include "cli/ParameterSettings.h"

#include "cli/CommandError.h"
#include "cli/PluginHost.h"
#include "host/EffectBase.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

namespace {

// Parses the whole of `text` as a number of type T; false if anything is
// left over, nothing was read or the number does not fit.
template <typename T> bool parseWhole(const std::string& text, T& number) {
    const char* first = text.data();
    const char* last = first + text.size();
    auto [end, failure] = std::from_chars(first, last, number);
    return failure == std::errc() && end == last && first != last;
}

std::string lowercase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string joinNames(const std::vector<std::string>& names) {
    if (names.empty())
        return "it has none";
    std::string list = "its parameters: ";
    for (std::size_t i = 0; i < names.size(); ++i)
        list += (i ? ", '" : "'") + names[i] + "'";
    return list;
}

} // namespace

float parseParameterValue(const std::string& text) {
    double value = 0.0;
    if (!parseWhole(text, value) || !std::isfinite(value))
        throw UsageError("parameter value '" + text + "' is not a number");
    if (value < 0.0 || value > 1.0)
        throw UsageError("parameter value " + text + " is outside [0, 1]");
    return static_cast<float>(value + 0.0); // -0 becomes 0
}

ParameterSetting parseParameterSetting(const std::string& text) {
    std::size_t equals = text.rfind('=');
    if (equals == std::string::npos || equals == 0)
        throw UsageError("'" + text + "' is not a parameter setting NAME=VALUE");
    ParameterSetting setting;
    setting.name = text.substr(0, equals);
    std::string valueText = text.substr(equals + 1);
    if (valueText.empty())
        throw UsageError("parameter setting '" + text + "' has no value");
    try {
        setting.value = parseParameterValue(valueText);
    } catch (const UsageError& error) {
        throw UsageError(setting.name + ": " + error.what());
    }
    return setting;
}

std::int32_t parseBlockSize(const std::string& text) {
    long long frames = 0;
    if (!parseWhole(text, frames))
        throw UsageError("block size '" + text + "' is not a whole number");
    if (frames < 1 || frames > MaxBlockSize)
        throw UsageError("block size " + text + " is outside 1 to " + std::to_string(MaxBlockSize) +
                         " frames");
    return static_cast<std::int32_t>(frames);
}

std::int32_t parseProgramNumber(const std::string& text) {
    long long number = 0;
    if (!parseWhole(text, number))
        throw UsageError("program number '" + text + "' is not a whole number");
    if (number < 0 || number > INT32_MAX)
        throw UsageError("program number " + text + " does not exist");
    return static_cast<std::int32_t>(number);
}

std::int32_t findParameterIndex(const std::vector<std::string>& names, const std::string& name) {
    auto exact = std::find(names.begin(), names.end(), name);
    if (exact != names.end())
        return static_cast<std::int32_t>(exact - names.begin());
    std::string wanted = lowercase(name);
    std::int32_t found = -1;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (lowercase(names[i]) != wanted)
            continue;
        if (found >= 0)
            throw CommandError("parameter name '" + name + "' is ambiguous (" + joinNames(names) +
                               ")");
        found = static_cast<std::int32_t>(i);
    }
    if (found < 0)
        throw CommandError("the plug-in has no parameter '" + name + "' (" + joinNames(names) +
                           ")");
    return found;
}

std::vector<std::string> parameterNames(PluginHost& host) {
    std::vector<std::string> names;
    std::int32_t count = std::max(host.record().parameterCount, 0);
    names.reserve(static_cast<std::size_t>(count));
    for (std::int32_t index = 0; index < count; ++index)
        names.push_back(host.dispatchText(OpGetParameterName, index));
    return names;
}

void selectProgram(PluginHost& host, std::int32_t program) {
    std::int32_t count = host.record().programCount;
    if (program < 0 || program >= count) {
        std::string range = count > 0 ? "0 to " + std::to_string(count - 1) : "none";
        throw CommandError("program " + std::to_string(program) +
                           " does not exist (the plug-in has programs " + range + ")");
    }
    host.dispatch(OpSetProgram, 0, program);
}

void applyParameterSettings(PluginHost& host, const std::vector<ParameterSetting>& settings) {
    if (settings.empty())
        return;
    std::vector<std::string> names = parameterNames(host);
    for (const ParameterSetting& setting : settings)
        host.setParameterValue(findParameterIndex(names, setting.name), setting.value);
}

#include "cli/PluginInfo.h"

#include "cli/JsonWriter.h"
#include "cli/PluginHost.h"
#include "host/EffectBase.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <utility>

namespace {

// Asks for the interface version the plug-in implements.
constexpr std::int32_t OpInterfaceVersion = 58;

constexpr std::array<std::pair<std::int32_t, const char*>, 10> FlagNames = {{
    {HasEditor, "HasEditor"},
    {HasClip, "HasClip"},
    {HasMeter, "HasMeter"},
    {CanMono, "CanMono"},
    {CanOverwrite, "CanOverwrite"},
    {ChunkPrograms, "ChunkPrograms"},
    {IsInstrument, "IsInstrument"},
    {SilentWhenStopped, "SilentWhenStopped"},
    {AsyncProcessing, "AsyncProcessing"},
    {ExternalBuffer, "ExternalBuffer"},
}};

// Control characters would break the text layout; they show as '?'.
std::string printable(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = '?';
    return text;
}

std::string fixedText(float value) {
    if (!std::isfinite(value))
        return std::isnan(value) ? "nan" : (value > 0 ? "inf" : "-inf");
    char digits[64];
    auto result = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 6);
    return std::string(digits, result.ptr);
}

void padTo(std::string& line, std::size_t width) {
    if (line.size() < width)
        line.append(width - line.size(), ' ');
}

// A table with a header row; every column but the last is padded to its
// widest cell plus two spaces.
std::string tableText(const std::vector<std::vector<std::string>>& rows) {
    std::vector<std::size_t> widths;
    for (const auto& row : rows) {
        widths.resize(std::max(widths.size(), row.size()), 0);
        for (std::size_t column = 0; column < row.size(); ++column)
            widths[column] = std::max(widths[column], row[column].size());
    }
    std::string out;
    for (const auto& row : rows) {
        std::string line = "  ";
        for (std::size_t column = 0; column < row.size(); ++column) {
            line += row[column];
            if (column + 1 < row.size())
                padTo(line, line.size() + widths[column] - row[column].size() + 2);
        }
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        out += line + '\n';
    }
    return out;
}

} // namespace

std::vector<std::string> flagNames(std::int32_t flags) {
    std::vector<std::string> names;
    for (int bit = 0; bit < 32; ++bit) {
        auto mask = static_cast<std::int32_t>(1u << bit);
        if (!(flags & mask))
            continue;
        auto named = std::find_if(FlagNames.begin(), FlagNames.end(),
                                  [&](const auto& entry) { return entry.first == mask; });
        if (named != FlagNames.end()) {
            names.emplace_back(named->second);
        } else {
            char text[16];
            std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(mask));
            names.emplace_back(text);
        }
    }
    return names;
}

std::string fourCharText(std::int32_t code) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        auto c = static_cast<unsigned char>(static_cast<std::uint32_t>(code) >> shift);
        text += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '.';
    }
    return text;
}

std::string hexText(std::int32_t number) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(number));
    return text;
}

PluginInfo collectPluginInfo(PluginHost& host) {
    const EffectRecord& record = host.record();
    PluginInfo info;
    info.path = host.path();
    info.recordSize = static_cast<int>(sizeof(EffectRecord));
    info.pointerBits = static_cast<int>(sizeof(void*) * 8);
    info.magic = record.magic;
    info.uniqueId = record.uniqueId;
    info.version = record.version;
    info.interfaceVersion = host.dispatch(OpInterfaceVersion);
    info.programCount = record.programCount;
    info.parameterCount = record.parameterCount;
    info.inputCount = record.inputCount;
    info.outputCount = record.outputCount;
    info.flags = record.flags;
    info.initialDelay = record.initialDelay;

    for (std::int32_t index = 0; index < info.parameterCount; ++index) {
        ParameterInfo parameter;
        parameter.index = index;
        parameter.name = host.dispatchText(OpGetParameterName, index);
        parameter.display = host.dispatchText(OpGetParameterText, index);
        parameter.unit = host.dispatchText(OpGetParameterUnit, index);
        parameter.value = host.hasParameterValue() ? host.parameterValue(index) : 0.0f;
        info.parameters.push_back(std::move(parameter));
    }

    if (info.programCount > 0) {
        IntPtr current = host.dispatch(OpGetProgram);
        for (std::int32_t index = 0; index < info.programCount; ++index) {
            host.dispatch(OpSetProgram, 0, index);
            info.programs.push_back({index, host.dispatchText(OpGetProgramName)});
        }
        host.dispatch(OpSetProgram, 0, current);
    }
    return info;
}

namespace {
// Built by appending: GCC 12 warns falsely (-Wrestrict) when a literal is
// prepended to a temporary string.
std::string quotedFourChars(std::uint32_t word) {
    std::string text = "'";
    text += fourCharText(word);
    text += '\'';
    return text;
}
} // namespace

std::string formatInfoText(const PluginInfo& info) {
    std::vector<std::pair<std::string, std::string>> facts = {
        {"Path", info.path},
        {"Record", std::to_string(info.recordSize) + " bytes (" + std::to_string(info.pointerBits) +
                       "-bit layout)"},
        {"Magic", hexText(info.magic) + " '" + fourCharText(info.magic) + "'"},
        {"Unique id", quotedFourChars(info.uniqueId) + " " + hexText(info.uniqueId)},
        {"Version", std::to_string(info.version)},
        {"Interface version", std::to_string(static_cast<long long>(info.interfaceVersion))},
        {"Programs", std::to_string(info.programCount)},
        {"Parameters", std::to_string(info.parameterCount)},
        {"Inputs", std::to_string(info.inputCount)},
        {"Outputs", std::to_string(info.outputCount)},
        {"Flags", hexText(info.flags)},
        {"Initial delay", std::to_string(info.initialDelay) + " samples"},
    };
    std::vector<std::string> names = flagNames(info.flags);
    std::string flagList;
    for (const std::string& name : names)
        flagList += (flagList.empty() ? "" : " | ") + name;
    facts[10].second += " (" + (flagList.empty() ? std::string("none") : flagList) + ")";

    std::string out;
    for (const auto& [label, text] : facts) {
        std::string line = label + ":";
        padTo(line, 20);
        out += line + printable(text) + '\n';
    }

    out += "\nParameters:\n";
    if (info.parameters.empty()) {
        out += "  (none)\n";
    } else {
        std::vector<std::vector<std::string>> rows = {{"#", "Name", "Display", "Unit", "Value"}};
        for (const ParameterInfo& parameter : info.parameters)
            rows.push_back({std::to_string(parameter.index), printable(parameter.name),
                            printable(parameter.display), printable(parameter.unit),
                            fixedText(parameter.value)});
        out += tableText(rows);
    }

    out += "\nPrograms:\n";
    if (info.programs.empty()) {
        out += "  (none)\n";
    } else {
        std::vector<std::vector<std::string>> rows = {{"#", "Name"}};
        for (const ProgramInfo& program : info.programs)
            rows.push_back({std::to_string(program.index), printable(program.name)});
        out += tableText(rows);
    }
    return out;
}

std::string formatInfoJson(const PluginInfo& info) {
    JsonWriter json;
    json.beginObject();
    json.key("path");
    json.value(info.path);
    json.key("recordSize");
    json.value(static_cast<std::int64_t>(info.recordSize));
    json.key("pointerBits");
    json.value(static_cast<std::int64_t>(info.pointerBits));
    json.key("magic");
    json.value(hexText(info.magic));
    json.key("uniqueId");
    json.value(fourCharText(info.uniqueId));
    json.key("uniqueIdHex");
    json.value(hexText(info.uniqueId));
    json.key("version");
    json.value(info.version);
    json.key("interfaceVersion");
    json.value(static_cast<std::int64_t>(info.interfaceVersion));
    json.key("programCount");
    json.value(info.programCount);
    json.key("parameterCount");
    json.value(info.parameterCount);
    json.key("inputCount");
    json.value(info.inputCount);
    json.key("outputCount");
    json.value(info.outputCount);
    json.key("flags");
    json.value(hexText(info.flags));
    json.key("flagNames");
    json.beginArray();
    for (const std::string& name : flagNames(info.flags))
        json.value(name);
    json.endArray();
    json.key("initialDelay");
    json.value(info.initialDelay);

    json.key("parameters");
    json.beginArray();
    for (const ParameterInfo& parameter : info.parameters) {
        json.beginObject();
        json.key("index");
        json.value(parameter.index);
        json.key("name");
        json.value(parameter.name);
        json.key("display");
        json.value(parameter.display);
        json.key("unit");
        json.value(parameter.unit);
        json.key("value");
        json.value(parameter.value);
        json.endObject();
    }
    json.endArray();

    json.key("programs");
    json.beginArray();
    for (const ProgramInfo& program : info.programs) {
        json.beginObject();
        json.key("index");
        json.value(program.index);
        json.key("name");
        json.value(program.name);
        json.endObject();
    }
    json.endArray();
    json.endObject();
    return json.text();
}

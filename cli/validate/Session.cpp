#include "cli/validate/Session.h"

#include "cli/validate/Isolation.h"
#include "cli/validate/RealtimeProbe.h"
#include "host/EffectBase.h"
#include "host/ExtendedEffect.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

namespace {

constexpr double SettleSeconds = 2.0;
constexpr float SettledStep = 1e-5f;
constexpr std::size_t ScratchSize = 64 * 1024;
constexpr std::size_t HugeChunk = 16 * 1024 * 1024;

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

bool sameValue(float a, float b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

} // namespace

Session::Session(const std::string& path, const SessionRules& rules)
    : rules(rules), sampleRate(rules.sampleRate), blockSize(rules.blockSize) {
    plugin = std::make_unique<PluginHost>(path, rules.sampleRate, rules.blockSize);
    const EffectRecord& record = plugin->record();
    channels = static_cast<std::size_t>(
        std::clamp(std::max(record.inputCount, record.outputCount), 2, 64));
    inputs.assign(channels, std::vector<float>(MaxFrames));
    outputs.assign(channels, std::vector<float>(MaxFrames));
    scratch.assign(ScratchSize, 0);
    plugin->resume();
    if (rules.audioOnAnotherThread)
        audio = std::make_unique<BackgroundAudio>(*plugin);
}

Session::~Session() {
    editor.reset();
    audio.reset();
}

std::string Session::summary() const {
    std::string text = editor ? editor->summary() : "";
    if (audio)
        text += (text.empty() ? "" : "; ") + std::to_string(audio->blocks()) +
                " blocks of audio on another thread";
    return text;
}

std::optional<std::string> Session::audioFailure() const {
    if (!audio || audio->failure().empty())
        return std::nullopt;
    return audio->failure();
}

std::optional<std::string> Session::editorCall(const Call& call) {
    if (!editor)
        editor = std::make_unique<EditorDriver>(*plugin);
    std::optional<std::string> failure = editor->perform(call.opcode, call.value != 0);
    return failure ? failure : audioFailure();
}

std::optional<std::string> Session::perform(const Call& call) {
    switch (call.kind) {
    case CallKind::Dispatch:
        return dispatch(call);
    case CallKind::SetParameter: {
        if (rules.countRealtimeCalls)
            beginRealtimeCount();
        plugin->setParameterValue(call.index, call.opt);
        if (rules.countRealtimeCalls) {
            RealtimeCounts counts = endRealtimeCount();
            if (counts.allocations || counts.locks)
                return "not real-time safe: setParameter made " +
                       std::to_string(counts.allocations) + " allocator calls and " +
                       std::to_string(counts.locks) + " mutex locks";
        }
        return std::nullopt;
    }
    case CallKind::GetParameter: {
        float value = plugin->parameterValue(call.index);
        if (!std::isfinite(value))
            return "parameter not finite: parameter " + std::to_string(call.index) +
                   " reads back as " + number(value);
        return std::nullopt;
    }
    case CallKind::Process:
        return process(call);
    case CallKind::SelectProgram:
        return selectProgram(call.index);
    case CallKind::DamagedChunk:
        return loadDamagedChunk(call);
    case CallKind::Editor:
        return editorCall(call);
    }
    return std::nullopt;
}

std::optional<std::string> Session::dispatch(const Call& call) {
    // Every pointer the plug-in gets is a valid, zeroed buffer of its own,
    // and every count that goes with a pointer fits it.
    std::memset(scratch.data(), 0, 4096);
    void* ptr = scratch.data();
    IntPtr value = call.value;
    switch (call.opcode) {
    case OpSetProgramName:
        std::strcpy(scratch.data(), "Validated");
        break;
    case OpParameterFromText:
        std::strcpy(scratch.data(), "0.5");
        break;
    case OpCanDo:
        std::strcpy(
            scratch.data(),
            PlugInCapabilities[static_cast<std::size_t>(call.value % PlugInCapabilities.size())]
                .data());
        break;
    case OpSetChunk:
        value = std::clamp<IntPtr>(call.value, 0, 4096);
        break;
    case 38:
    case 39:
    case 40:
        value = 0;
        break;
    case 42:
        value = reinterpret_cast<IntPtr>(scratch.data() + 8192);
        ptr = scratch.data() + 16384;
        std::memset(scratch.data() + 8192, 0, 16384);
        break;
    case OpSetSampleRate:
        sampleRate = call.opt;
        break;
    case OpSetBlockSize:
        blockSize = static_cast<std::int32_t>(call.value);
        break;
    case 43:
        blockSize = static_cast<std::int32_t>(call.value);
        sampleRate = call.opt;
        break;
    default:
        break;
    }
    plugin->dispatch(call.opcode, call.index, value, ptr, call.opt);
    return std::nullopt;
}

void Session::fillInput(const Call& call, std::int32_t frames) {
    std::minstd_rand noise(static_cast<std::uint32_t>(call.value));
    std::uniform_real_distribution<float> sample(-1.0f, 1.0f);
    for (auto& channel : inputs)
        for (std::int32_t i = 0; i < frames; ++i) {
            switch (call.input) {
            case Input::Silence:
                channel[i] = 0.0f;
                break;
            case Input::Noise:
                channel[i] = sample(noise);
                break;
            case Input::NotANumber:
                channel[i] = std::numeric_limits<float>::quiet_NaN();
                break;
            case Input::Infinity:
                channel[i] = i % 2 ? -INFINITY : INFINITY;
                break;
            case Input::Huge:
                channel[i] = i % 2 ? -1e30f : 1e30f;
                break;
            }
        }
}

std::optional<std::string> Session::process(const Call& call) {
    // Never more frames than the host last announced.
    const std::int32_t frames = std::clamp(std::min(call.frames, blockSize), 0, MaxFrames);
    fillInput(call, frames);
    float* in[64];
    float* out[64];
    for (std::size_t c = 0; c < channels; ++c) {
        in[c] = inputs[c].data();
        out[c] = call.inPlace ? inputs[c].data() : outputs[c].data();
        if (!call.inPlace)
            std::fill(outputs[c].begin(), outputs[c].begin() + frames, 0.0f);
    }
    if (rules.countRealtimeCalls)
        beginRealtimeCount();
    if (call.adding)
        plugin->processAdding(in, out, frames);
    else
        plugin->processOverwriting(in, out, frames);
    if (rules.countRealtimeCalls) {
        RealtimeCounts counts = endRealtimeCount();
        if (counts.allocations || counts.locks)
            return std::string("not real-time safe: ") +
                   (call.adding ? "processAdding" : "processOverwriting") + " made " +
                   std::to_string(counts.allocations) + " allocator calls and " +
                   std::to_string(counts.locks) + " mutex locks";
    }
    if (call.inPlace)
        for (std::size_t c = 0; c < channels; ++c)
            std::copy(inputs[c].begin(), inputs[c].begin() + frames, outputs[c].begin());
    const bool finiteInput = call.input == Input::Silence || call.input == Input::Noise;
    silentFrames = call.input == Input::Silence ? silentFrames + frames : 0;
    if (!finiteInput)
        return std::nullopt;
    const std::size_t outputCount = static_cast<std::size_t>(
        std::clamp(plugin->record().outputCount, 0, static_cast<std::int32_t>(channels)));
    for (std::size_t c = 0; c < outputCount; ++c)
        for (std::int32_t i = 0; i < frames; ++i) {
            float y = outputs[c][i];
            if (!std::isfinite(y))
                return "non-finite output: " + number(y) + " at frame " + std::to_string(i) +
                       " of output " + std::to_string(c) + " for finite input";
            if (y != 0.0f && std::fabs(y) < FLT_MIN)
                return "subnormal output: " + number(y) + " at frame " + std::to_string(i) +
                       " of output " + std::to_string(c);
        }
    if (call.input == Input::Silence && silentFrames - frames >= SettleSeconds * sampleRate)
        for (std::size_t c = 0; c < outputCount; ++c)
            for (std::int32_t i = 1; i < frames; ++i)
                if (std::fabs(outputs[c][i] - outputs[c][i - 1]) > SettledStep)
                    return "output does not settle: output " + std::to_string(c) +
                           " still moves by " +
                           number(std::fabs(outputs[c][i] - outputs[c][i - 1])) + " after " +
                           number(SettleSeconds) + " s of silence";
    return std::nullopt;
}

std::vector<float> Session::parameterValues() {
    std::vector<float> values;
    if (!plugin->hasParameterValue())
        return values;
    for (std::int32_t i = 0; i < plugin->record().parameterCount; ++i)
        values.push_back(plugin->parameterValue(i));
    return values;
}

std::optional<std::string> Session::selectProgram(std::int32_t number) {
    plugin->dispatch(OpSetProgram, 0, number);
    std::string name = plugin->dispatchText(OpGetProgramName);
    std::vector<float> values = parameterValues();
    auto seen = programsSeen.find(number);
    if (seen == programsSeen.end()) {
        programsSeen[number] = {name, values};
        return std::nullopt;
    }
    if (seen->second.first != name)
        return "program not restored: program " + std::to_string(number) + " was named '" +
               seen->second.first + "' and is now '" + name + "'";
    for (std::size_t i = 0; i < values.size(); ++i)
        if (!sameValue(values[i], seen->second.second[i]))
            return "program not restored: in program " + std::to_string(number) + ", parameter " +
                   std::to_string(i) + " was " + ::number(seen->second.second[i]) + " and is now " +
                   ::number(values[i]);
    return std::nullopt;
}

std::vector<std::uint8_t> Session::chunk(bool program) {
    void* data = nullptr;
    IntPtr size = plugin->dispatch(OpGetChunk, program ? 1 : 0, 0, &data);
    if (size <= 0 || !data)
        return {};
    auto* bytes = static_cast<const std::uint8_t*>(data);
    return {bytes, bytes + size};
}

std::optional<std::string> Session::loadDamagedChunk(const Call& call) {
    const bool program = call.index != 0;
    if (!cleanChunks.count(program))
        cleanChunks[program] = chunk(program);
    std::vector<std::uint8_t> damaged = cleanChunks[program];
    if (damaged.empty())
        return std::nullopt;
    const std::size_t at = static_cast<std::size_t>(call.value);
    if (call.damage == Damage::Truncate)
        damaged.resize(std::min(at, damaged.size()));
    else if (call.damage == Damage::FlipByte)
        damaged[at % damaged.size()] ^= call.mask;
    else
        damaged.resize(std::min(at, HugeChunk), 0);
    const std::vector<std::uint8_t> chunkBefore = chunk(program);
    const std::vector<float> valuesBefore = parameterValues();
    IntPtr accepted = plugin->dispatch(OpSetChunk, program ? 1 : 0,
                                       static_cast<IntPtr>(damaged.size()), damaged.data());
    if (accepted != 0)
        return std::nullopt;
    const std::vector<float> valuesAfter = parameterValues();
    for (std::size_t i = 0; i < valuesAfter.size(); ++i)
        if (!sameValue(valuesBefore[i], valuesAfter[i]))
            return "refused chunk changed the state: parameter " + std::to_string(i) +
                   " went from " + number(valuesBefore[i]) + " to " + number(valuesAfter[i]);
    if (chunk(program) != chunkBefore)
        return std::string("refused chunk changed the state: the ") +
               (program ? "program" : "bank") + " chunk differs from the one before";
    return std::nullopt;
}

std::optional<ReplayFailure> replayCalls(const std::string& path, const SessionRules& rules,
                                         const CallList& calls, std::string* summary) {
    Session session(path, rules);
    for (std::size_t i = 0; i < calls.size(); ++i) {
        markProgress(static_cast<long>(i));
        if (auto failure = session.perform(calls[i]))
            return ReplayFailure{*failure, static_cast<long>(i)};
    }
    if (auto failure = session.audioFailure())
        return ReplayFailure{*failure, static_cast<long>(calls.size()) - 1};
    markProgress(static_cast<long>(calls.size()));
    if (summary)
        *summary = session.summary();
    return std::nullopt;
}

#include "cli/analyze/PluginProbe.h"

#include "cli/CommandError.h"
#include "cli/PluginHost.h"

#include <algorithm>

namespace {

// More channels than any real plug-in has: a larger count is a broken record.
constexpr std::int32_t MaxChannels = 64;

std::size_t channelCount(std::int32_t count, const char* what, const std::string& path) {
    if (count <= 0 || count > MaxChannels)
        throw CommandError("analyze: the plug-in " + path + " reports " + std::to_string(count) +
                           " audio " + what + "; it needs at least one, at most " +
                           std::to_string(MaxChannels));
    return static_cast<std::size_t>(count);
}

} // namespace

PluginProbe::PluginProbe(PluginHost& host) : host(host) {
    const std::size_t inputCount = channelCount(host.record().inputCount, "inputs", host.path());
    const std::size_t outputCount = channelCount(host.record().outputCount, "outputs", host.path());
    inputs.assign(inputCount, std::vector<float>(BlockSize, 0.0f));
    outputs.assign(outputCount, std::vector<float>(BlockSize, 0.0f));
    for (auto& channel : inputs)
        inputPointers.push_back(channel.data());
    for (auto& channel : outputs)
        outputPointers.push_back(channel.data());
    host.resume();
    for (std::int32_t done = 0; done < WarmUp; done += BlockSize)
        processBlock(BlockSize);
}

PluginProbe::~PluginProbe() {
    host.suspend();
}

void PluginProbe::processBlock(std::int32_t frames) {
    for (std::size_t c = 1; c < inputs.size(); ++c)
        std::copy_n(inputs[0].begin(), frames, inputs[c].begin());
    if (host.record().processOverwriting) {
        host.processOverwriting(inputPointers.data(), outputPointers.data(), frames);
    } else {
        for (auto& channel : outputs)
            std::fill(channel.begin(), channel.end(), 0.0f);
        host.processAdding(inputPointers.data(), outputPointers.data(), frames);
    }
}

std::vector<double> PluginProbe::play(const std::vector<double>& signal, std::int32_t tail) {
    const std::size_t length = signal.size() + static_cast<std::size_t>(std::max(tail, 0));
    const std::size_t total = LeadIn + length;
    std::vector<double> recorded;
    recorded.reserve(length);
    for (std::size_t start = 0; start < total; start += BlockSize) {
        const std::size_t frames = std::min<std::size_t>(BlockSize, total - start);
        for (std::size_t i = 0; i < frames; ++i) {
            const std::size_t n = start + i;
            const bool inSignal = n >= LeadIn && n - LeadIn < signal.size();
            inputs[0][i] = inSignal ? static_cast<float>(signal[n - LeadIn]) : 0.0f;
        }
        processBlock(static_cast<std::int32_t>(frames));
        for (std::size_t i = 0; i < frames; ++i)
            if (start + i >= LeadIn)
                recorded.push_back(outputs[0][i]);
    }
    return recorded;
}
